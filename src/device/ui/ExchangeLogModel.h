#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <cstdint>
#include <vector>

class ExchangeLog;
struct ExchangeRecord;

// The exchange log as table rows, oldest first, all of them or only the failed
// ones. The model follows the log only when refresh() is called, so a window
// repaints in batches however fast exchanges come in; every cell's text is
// made when the view asks for it.
class ExchangeLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        NumberColumn,
        TimeColumn,
        PortColumn,
        SpeedColumn,
        CommandColumn,
        ModeColumn,
        AddressColumn,
        DurationColumn,
        StatusColumn,
        DeviceErrorColumn,
        // The bytes last: the outcome stays in sight beside the command.
        RequestColumn,
        AnswerColumn,
        ColumnCount
    };

    explicit ExchangeLogModel(const ExchangeLog& log, QObject* parent = nullptr);

    // The font of the byte columns: the hex digits and the space all as wide.
    static QFont hexFont();
    // Whether `font` gives every hex digit and the space the same advance.
    static bool alignsHex(const QFont& font);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    bool onlyFailures() const { return onlyFailures_; }
    void setOnlyFailures(bool only);

    // Removes the rows whose exchanges have dropped off the log and appends the
    // exchanges that came in since the last call; true when rows changed.
    bool refresh();
    // nullptr for a row whose exchange has dropped off since the last refresh.
    const ExchangeRecord* record(int row) const;

private:
    void rebuild();
    bool shows(const ExchangeRecord& record) const;

    const ExchangeLog& log_;
    std::vector<uint64_t> rows_;  // exchange numbers
    uint64_t nextNumber_ = 1;     // the first exchange not yet looked at
    uint64_t generation_ = 0;
    bool onlyFailures_ = false;
};
