#include "device/ui/ExchangeLogModel.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>

#include "device/ExchangeLog.h"
#include "device/ExchangeLogText.h"

ExchangeLogModel::ExchangeLogModel(const ExchangeLog& log, QObject* parent)
    : QAbstractTableModel(parent), log_(log) {
    rebuild();
}

bool ExchangeLogModel::alignsHex(const QFont& font) {
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(QLatin1Char(' '));
    for (const QChar c : QStringLiteral("0123456789ABCDEF"))
        if (metrics.horizontalAdvance(c) != advance) return false;
    return advance > 0;
}

QFont ExchangeLogModel::hexFont() {
    static const QFont font = [] {
        // What the columns need is that every hex digit and the space take the
        // same room, so that the bytes of the rows stand under each other. The
        // font matcher's monospace may be a font the system does not call
        // fixed-pitch (one with a few double-width signs) while its digits
        // line up; and on another system it may be one whose digits do not.
        // The first of these whose digits line up is taken.
        QList<QFont> candidates{QFontDatabase::systemFont(QFontDatabase::FixedFont)};
        for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono",
                                   "Consolas", "Courier New", "monospace"}) {
            QFont f(QString::fromLatin1(family));
            f.setStyleHint(QFont::Monospace);
            f.setFixedPitch(true);
            candidates << f;
        }
        for (const QFont& f : candidates)
            if (alignsHex(f)) return f;
        return candidates.first();
    }();
    return font;
}

int ExchangeLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ExchangeLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const ExchangeRecord* ExchangeLogModel::record(int row) const {
    if (row < 0 || row >= int(rows_.size())) return nullptr;
    return log_.find(rows_[std::size_t(row)]);
}

QVariant ExchangeLogModel::data(const QModelIndex& index, int role) const {
    const ExchangeRecord* r = record(index.row());
    if (!r) return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            switch (column) {
                case NumberColumn:
                    return QString::number(r->number);
                case TimeColumn:
                    return ExchangeTimeText(*r, false);
                case PortColumn:
                    return r->port;
                case SpeedColumn:
                    return QString::number(r->baudRate);
                case CommandColumn:
                    return ExchangeCommandName(r->command());
                case ModeColumn:
                    return ExchangeModeText(*r);
                case AddressColumn:
                    return ExchangeAddressText(*r);
                case RequestColumn:
                    return RequestHex(*r);
                case AnswerColumn:
                    return AnswerHex(*r);
                case DurationColumn:
                    return ExchangeDurationText(*r);
                case StatusColumn:
                    return ExchangeStatusText(*r);
                case DeviceErrorColumn:
                    return ExchangeDeviceErrorText(*r);
                default:
                    return {};
            }
        case Qt::ToolTipRole:
            return ExchangeBlock(*r).trimmed();
        case Qt::FontRole:
            if (column == RequestColumn || column == AnswerColumn) return hexFont();
            return {};
        case Qt::BackgroundRole:
            if (r->failed()) return QColor(255, 214, 214);
            return {};
        case Qt::TextAlignmentRole:
            if (column == NumberColumn || column == SpeedColumn || column == DurationColumn)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant ExchangeLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char16_t* const titles[ColumnCount] = {
        u"№",     u"Время", u"Порт",   u"Скорость",  u"Команда", u"Режим",
        u"Адрес", u"мс",    u"Статус", u"Ошибка АС", u"Запрос",  u"Ответ"};
    if (section < 0 || section >= ColumnCount) return {};
    return QString::fromUtf16(titles[section]);
}

void ExchangeLogModel::setOnlyFailures(bool only) {
    if (only == onlyFailures_) return;
    onlyFailures_ = only;
    beginResetModel();
    rebuild();
    endResetModel();
}

bool ExchangeLogModel::shows(const ExchangeRecord& record) const {
    return !onlyFailures_ || record.failed();
}

void ExchangeLogModel::rebuild() {
    rows_.clear();
    for (int i = 0; i < log_.size(); ++i)
        if (shows(log_.at(i))) rows_.push_back(log_.at(i).number);
    nextNumber_ = log_.nextNumber();
    generation_ = log_.generation();
}

bool ExchangeLogModel::refresh() {
    if (generation_ != log_.generation()) {
        beginResetModel();
        rebuild();
        endResetModel();
        return true;
    }
    bool changed = false;
    const auto gone = std::lower_bound(rows_.begin(), rows_.end(), log_.firstNumber());
    if (gone != rows_.begin()) {
        beginRemoveRows({}, 0, int(gone - rows_.begin()) - 1);
        rows_.erase(rows_.begin(), gone);
        endRemoveRows();
        changed = true;
    }
    std::vector<uint64_t> added;
    for (uint64_t n = std::max(nextNumber_, log_.firstNumber()); n < log_.nextNumber(); ++n)
        if (shows(*log_.find(n))) added.push_back(n);
    nextNumber_ = log_.nextNumber();
    if (!added.empty()) {
        const int first = int(rows_.size());
        beginInsertRows({}, first, first + int(added.size()) - 1);
        rows_.insert(rows_.end(), added.begin(), added.end());
        endInsertRows();
        changed = true;
    }
    return changed;
}
