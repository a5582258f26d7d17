#pragma once

// Runs a transfer of the program against the in-process emulated device with
// one fault at one exchange and one answer to the question after a failure,
// and checks what every transfer owes the user afterwards:
//   - an item reported written holds the program's value on the device, an
//     item never sent its old one;
//   - an item reported read holds the device's value in the program, every
//     other item its old one;
//   - the success text only when no item failed, otherwise every failed item
//     named in the final message;
//   - no item ever holds another item's value (or a cleared one).
// The test runs a bounded part of the matrix, bench_faultmatrix all of it.

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "emulator/EmulatorFaults.h"

// The answer to the question after a failed item.
enum class MatrixAnswer { Yes, YesForAll, No, Stop };
QString AnswerName(MatrixAnswer answer);
const QVector<MatrixAnswer>& MatrixAnswers();

struct MatrixFault {
    QString name;  // "silent", "late×2", ...
    FaultKind kind = FaultKind::Silent;
    int value = -1;
};
// Each fault kind once; late answers 1, 2 and 10 total time-outs late.
QVector<MatrixFault> MatrixFaults();

// The time-outs the matrix sets: small, so that late answers stay fast.
constexpr int MatrixByteTimeoutMs = 5;
constexpr int MatrixTotalTimeoutMs = 20;

// Item name → the value the checked side holds (the device after a write,
// the program after a read).
using ItemValues = QMap<QString, QByteArray>;

struct MatrixTransfer {
    QString name;
    // Puts the device and the program in their state before the transfer.
    std::function<void()> setup;
    std::function<void()> run;
    // The checked side's values of every item the transfer is about.
    std::function<ItemValues()> values;
    // True when the transfer writes: only write requests are its items.
    bool writes = false;
    // The comparison with the device: its reads are items too, and an item
    // whose read failed is shown as unknown rather than named in a message.
    // Nothing is taken or written unless the comparison was shown (its read
    // ran to its end); an unknown item is never taken, and what the upload
    // then writes is judged as any other write.
    bool compares = false;
    // The message that says every item went.
    QString successText;
    // A single command's failure message names no item: only "no success" is checked.
    bool namesItems = true;
};

// Every transfer of the program the matrix covers.
QVector<MatrixTransfer> MatrixTransfers();

struct MatrixRun {
    int runs = 0;
    QStringList violations;  // "<transfer> <fault> @<exchange> <answer>: <what>"
};

class FaultMatrix {
public:
    explicit FaultMatrix(const MatrixTransfer& transfer);

    // Exchanges of a clean run; 0 when the clean run itself broke an invariant.
    int exchanges() const { return int(items_.size()); }
    const QStringList& cleanViolations() const { return clean_; }
    // A bounded sample of the exchanges: the first, the second, a middle and
    // the last, and for a comparison that writes the first read of each item
    // its clean run did not write (held already by the device, or locked).
    QVector<int> sampleExchanges() const;
    // One run with `fault` at exchange `exchange` (0-based).
    QStringList run(int exchange, const MatrixFault& fault, MatrixAnswer answer);

private:
    const MatrixTransfer& transfer_;
    ItemValues old_;
    ItemValues new_;
    QStringList items_;        // the item of each exchange of the clean run, or empty
    QVector<bool> reads_;      // whether that exchange was a comparison's read
    QSet<QString> cleanSent_;  // the items the clean run sent
    QStringList clean_;
};

// The item a request frame is about, by the names the program's messages use
// ("оператор 3, строка 2", "ДСО", "клише 1, строка 4", "форма 5", "товар 517");
// empty for a request that is none (a state query, or a read in a write transfer).
QString RequestItem(const QByteArray& request, bool writes);

// The matrix's name of a configuration item, as RequestItem gives it.
struct ConfigurationItem;
QString MatrixItemName(const ConfigurationItem& item);

// A violation's class: its text with the items' names taken out
// ("<item> failed and is not named").
QString ViolationClass(const QString& violation);

// Whether `text` names `item` as a whole ("товар 2" is not named by "товар 25").
bool NamesItem(const QString& text, const QString& item);
