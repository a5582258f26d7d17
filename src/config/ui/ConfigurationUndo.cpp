#include "config/ui/ConfigurationUndo.h"

#include <QUndoStack>
#include <utility>

#include "config/ConfigurationEdits.h"
#include "config/DeviceConfiguration.h"
#include "shell/ui/UndoSteps.h"

namespace {

QString StepText(const QString& text, const ConfigurationChange& change) {
    const QString items = change.itemsText();
    return items.isEmpty() ? text : text + QStringLiteral(": ") + items;
}

class ConfigurationStep : public QUndoCommand {
public:
    ConfigurationStep(ConfigurationUndo& owner, DeviceConfiguration& config,
                      ConfigurationChange change, const QString& text, int mergeKind)
        : QUndoCommand(StepText(text, change)),
          owner_(owner),
          config_(config),
          change_(std::move(change)),
          text_(text),
          mergeKind_(mergeKind) {}

    void undo() override {
        if (RestoreBefore(config_, change_)) owner_.announceRestored();
    }
    void redo() override {
        // The push's redo: the edit is already made.
        if (pushed_) {
            pushed_ = false;
            return;
        }
        if (RestoreAfter(config_, change_)) owner_.announceRestored();
    }
    int id() const override { return mergeKind_; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const ConfigurationStep*>(other);
        if (!MergeChanges(change_, next->change_)) return false;
        // Typed and typed away again: no step is left.
        setObsolete(change_.isEmpty());
        setText(StepText(text_, change_));
        return true;
    }

private:
    ConfigurationUndo& owner_;
    DeviceConfiguration& config_;
    ConfigurationChange change_;
    QString text_;
    int mergeKind_;
    bool pushed_ = true;
};

}  // namespace

ConfigurationUndo::ConfigurationUndo(DeviceConfiguration& config, QObject* parent)
    : QObject(parent), config_(config), stack_(new QUndoStack(this)) {}

void ConfigurationUndo::record(const QString& text, const std::function<void()>& edit,
                               int mergeKind) {
    const ConfigurationChangeRecorder recorder(config_);
    RecordEdit(*stack_, edit, [&]() -> QUndoCommand* {
        ConfigurationChange change = recorder.finish(config_);
        if (change.isEmpty()) return nullptr;
        return new ConfigurationStep(*this, config_, std::move(change), text, mergeKind);
    });
}

void RecordConfigurationEdit(ConfigurationUndo* undo, const QString& text,
                             const std::function<void()>& edit, int mergeKind) {
    if (undo)
        undo->record(text, edit, mergeKind);
    else
        edit();
}

QString EditStepText() {
    return QStringLiteral("Изменить");
}
