#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QUndoStack;
struct DeviceConfiguration;

// The history of the program's configuration as the pages edit it: the
// wizard's pages and the form constructor. One for the whole run, owned by the
// main window, so that what was done in a wizard since closed can still be
// taken back after it opens again. Reads from the device and file loads are
// no steps of it: a step never overwrites a field they replaced since.
class ConfigurationUndo : public QObject {
    Q_OBJECT
public:
    explicit ConfigurationUndo(DeviceConfiguration& config, QObject* parent = nullptr);

    QUndoStack* stack() const { return stack_; }

    // Steps of the same kind that follow each other without anything between
    // them (a field's keys) are one; NoMerge steps are each their own.
    static constexpr int NoMerge = -1;
    // Runs `edit`, which changes the configuration as it likes (an editor,
    // "Очистить поля", a form's choice), and puts what it changed on the stack
    // as one step named `text`; an edit that changed nothing adds no step.
    void record(const QString& text, const std::function<void()>& edit, int mergeKind = NoMerge);

    // What the steps put back changed the configuration: the pages showing it refill.
    void announceRestored() { emit restored(); }

signals:
    void restored();

private:
    DeviceConfiguration& config_;
    QUndoStack* stack_ = nullptr;
};

// `undo`'s record, or only the edit where a page has no history (a page
// shown without the main window).
void RecordConfigurationEdit(ConfigurationUndo* undo, const QString& text,
                             const std::function<void()>& edit,
                             int mergeKind = ConfigurationUndo::NoMerge);

// The name of a step that changes a value ("Изменить: оператор 2, Ф.И.О.").
QString EditStepText();
