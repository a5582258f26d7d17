// zelvo-sim: the emulated АС on a pseudo-terminal, so that the program's real
// serial code can be run end to end without the device.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QVector>
#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef __linux__
#include <sys/inotify.h>
#include <sys/prctl.h>
#endif

#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorCommands.h"
#include "emulator/RequestFramer.h"

namespace {

volatile sig_atomic_t stopRequested = 0;
int wakePipe[2] = {-1, -1};

void OnSignal(int) {
    stopRequested = 1;
    const char byte = 0;
    [[maybe_unused]] ssize_t ignored = ::write(wakePipe[1], &byte, 1);
}

qint64 NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

int LineSpeed(speed_t speed) {
    switch (speed) {
        case B2400:
            return 2400;
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}

void SetNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// Standard output feeds the test that drives us; a test busy elsewhere must not
// stall the line, so lines queue here and go out when the pipe takes them.
class Output {
public:
    void start() {
        if (!isatty(STDOUT_FILENO)) {
            flags_ = fcntl(STDOUT_FILENO, F_GETFL);
            SetNonBlocking(STDOUT_FILENO);
        }
    }
    void line(const QByteArray& text) {
        queue_ += text;
        queue_ += '\n';
        flush();
    }
    bool pending() const { return !queue_.isEmpty(); }
    void flush() {
        while (!queue_.isEmpty()) {
            const ssize_t n = ::write(STDOUT_FILENO, queue_.constData(), size_t(queue_.size()));
            if (n > 0) {
                queue_.remove(0, n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                if (n < 0 && errno != EAGAIN) queue_.clear();  // nobody is reading any more
                return;
            }
        }
    }
    void finish() {
        if (flags_ >= 0) fcntl(STDOUT_FILENO, F_SETFL, flags_);
        flush();
    }

private:
    QByteArray queue_;
    int flags_ = -1;
};

struct Options {
    QString link;
    QStringList startup;  // control lines that make the start-up state
    bool log = false;
    bool exitOnEof = false;
    qint64 gapNs = 300'000'000;
    int listenBaud = 0;  // 0: every speed
};

class Simulator {
public:
    explicit Simulator(const Options& options)
        : options_(options),
          framer_(options.gapNs),
          log_(options.log),
          listenBaud_(options.listenBaud) {}
    ~Simulator();

    // Applies the start-up commands; false with a message on stderr on error.
    bool configure();
    bool openTerminal();
    int run();

private:
    struct Outgoing {
        QByteArray bytes;
        QVector<qint64> due;
        int next = 0;
        bool late = false;  // already on the wire: nothing the program does recalls it
    };

    void readMaster();
    void readControl();
    void readOpenEvents();
    void serve(const RequestFramer::Frame& frame);
    void sendDue(qint64 now);
    void withdrawAnswers();
    void control(const QString& line);
    void portClosed();
    void logLine(const char* tag, const QByteArray& bytes);
    bool listening() const { return openers_ != 0; }
    bool hearsLineSpeed() const;

    Options options_;
    DeviceEmulator device_;
    RequestFramer framer_;
    Output out_;
    bool log_;
    int listenBaud_;
    int master_ = -1;
    int keeper_ = -1;  // our own slave descriptor: no hang-up while the program closes
    int watch_ = -1;
    int openers_ = -1;  // opens of the terminal by others; -1 when it cannot be seen
    bool controlOpen_ = true;
    QByteArray controlBuffer_;
    QByteArray slavePath_;
    bool linked_ = false;
    // Answers in the order they go out; only a late one can have another behind it.
    QVector<Outgoing> outgoing_;
};

Simulator::~Simulator() {
    if (linked_) ::unlink(QFile::encodeName(options_.link).constData());
    for (int fd : {watch_, keeper_, master_})
        if (fd >= 0) ::close(fd);
}

bool Simulator::configure() {
    for (const QString& line : options_.startup) {
        const QString error = ApplyEmulatorCommand(device_, line);
        if (!error.isEmpty()) {
            fprintf(stderr, "zelvo-sim: %s: %s\n", qPrintable(line), qPrintable(error));
            return false;
        }
    }
    return true;
}

bool Simulator::openTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        perror("zelvo-sim: pseudo-terminal");
        return false;
    }
    slavePath_ = ptsname(master_);
    keeper_ = ::open(slavePath_.constData(), O_RDWR | O_NOCTTY);
    if (keeper_ < 0) {
        perror("zelvo-sim: opening the terminal's own side");
        return false;
    }
    termios raw{};
    tcgetattr(keeper_, &raw);
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    tcsetattr(keeper_, TCSANOW, &raw);
    SetNonBlocking(master_);

#ifdef __linux__
    // Seeing the program open and close the port lets bytes sent while it is
    // closed fall off the line, as they would on a real one.
    watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ >= 0 && inotify_add_watch(watch_, slavePath_.constData(), IN_OPEN | IN_CLOSE) >= 0) {
        openers_ = 0;
    }
#endif

    if (!options_.link.isEmpty()) {
        const QByteArray link = QFile::encodeName(options_.link);
        struct stat existing {};
        if (lstat(link.constData(), &existing) == 0) {
            if (!S_ISLNK(existing.st_mode)) {
                fprintf(stderr, "zelvo-sim: %s exists and is not a link\n", link.constData());
                return false;
            }
            ::unlink(link.constData());
        }
        if (symlink(slavePath_.constData(), link.constData()) != 0) {
            perror("zelvo-sim: --link");
            return false;
        }
        linked_ = true;
    }
    return true;
}

int Simulator::run() {
    out_.line("PTY " + slavePath_);
    out_.start();

    while (!stopRequested) {
        const qint64 now = NowNs();
        sendDue(now);
        const QByteArray abandoned = framer_.expire(now);
        if (!abandoned.isEmpty()) logLine("DROP", abandoned);

        qint64 wake = framer_.deadlineNs();
        if (!outgoing_.isEmpty()) {
            const Outgoing& first = outgoing_.first();
            const qint64 due = first.due.at(first.next);
            wake = wake < 0 ? due : qMin(wake, due);
        }
        timespec timeout{};
        if (wake >= 0) {
            const qint64 wait = qMax<qint64>(0, wake - now);
            timeout.tv_sec = wait / 1'000'000'000;
            timeout.tv_nsec = wait % 1'000'000'000;
        }

        pollfd fds[5];
        nfds_t count = 0;
        fds[count++] = {wakePipe[0], POLLIN, 0};
        const nfds_t masterAt = count;
        fds[count++] = {master_, POLLIN, 0};
        const nfds_t watchAt = count;
        fds[count++] = {watch_, POLLIN, 0};
        const nfds_t controlAt = count;
        fds[count++] = {controlOpen_ ? STDIN_FILENO : -1, POLLIN, 0};
        const nfds_t outputAt = count;
        fds[count++] = {out_.pending() ? STDOUT_FILENO : -1, POLLOUT, 0};

        if (ppoll(fds, count, wake >= 0 ? &timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR) continue;
            perror("zelvo-sim: poll");
            return 1;
        }
        if (fds[watchAt].revents) readOpenEvents();
        if (fds[masterAt].revents) readMaster();
        if (fds[controlAt].revents) readControl();
        if (fds[outputAt].revents) out_.flush();
    }
    out_.finish();
    return 0;
}

void Simulator::readOpenEvents() {
#ifdef __linux__
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(watch_, buffer, sizeof buffer);
        if (n <= 0) return;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) ++openers_;
            if ((event->mask & IN_CLOSE) && openers_ > 0 && --openers_ == 0) portClosed();
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
#endif
}

void Simulator::portClosed() {
    // What the program did not read is gone, and so is an answer still on its way
    // (unless the test asked for one that outlives the close).
    tcflush(keeper_, TCIFLUSH);
    withdrawAnswers();
    // An exclusive open must not outlive the program's descriptor.
    ioctl(keeper_, TIOCNXCL);
}

void Simulator::readMaster() {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0 && errno == EIO) {
                const timespec pause{0, 1'000'000};
                nanosleep(&pause, nullptr);
            }
            return;
        }
        const qint64 now = NowNs();
        const QByteArray abandoned = framer_.expire(now);
        if (!abandoned.isEmpty()) logLine("DROP", abandoned);
        const QVector<RequestFramer::Frame> frames = framer_.feed(QByteArray(buffer, int(n)), now);
        if (const int noise = framer_.takeDroppedCount(); noise > 0 && log_)
            out_.line("NOISE " + QByteArray::number(noise));
        for (const RequestFramer::Frame& frame : frames) serve(frame);
    }
}

void Simulator::serve(const RequestFramer::Frame& frame) {
    // The program may have closed and reopened the port since the last poll:
    // take those events first, or their close would flush this answer.
    if (watch_ >= 0) readOpenEvents();
    // A new request ends whatever was still owed for the last one, apart from a
    // late answer: the device sends that first, and this one after it.
    const bool lateAhead = !outgoing_.isEmpty() && outgoing_.last().late;
    if (!lateAhead) tcflush(keeper_, TCIFLUSH);
    withdrawAnswers();
    if (!hearsLineSpeed()) {
        // At another speed a real device receives only garbled bytes and keeps quiet.
        logLine("NOISE", frame.bytes);
        return;
    }
    const EmulatorReply reply = device_.exchange(frame.bytes);
    logLine("REQ", frame.bytes);
    logLine("RSP", reply.bytes);
    if (reply.bytes.isEmpty()) return;

    Outgoing answer{reply.bytes, QVector<qint64>(reply.bytes.size(), 0), 0, reply.late};
    if (reply.isTimed()) {
        for (int i = 0; i < reply.bytes.size(); ++i)
            answer.due[i] = frame.firstByteNs + reply.arrivalNs(i, int(frame.bytes.size()));
    }
    outgoing_.append(answer);
    sendDue(NowNs());
}

bool Simulator::hearsLineSpeed() const {
    if (listenBaud_ <= 0) return true;
    // A pseudo-terminal keeps the speed the program set, though it sends at none.
    termios line{};
    if (tcgetattr(keeper_, &line) != 0) return true;
    return LineSpeed(cfgetospeed(&line)) == listenBaud_;
}

void Simulator::withdrawAnswers() {
    outgoing_.erase(std::remove_if(outgoing_.begin(), outgoing_.end(),
                                   [](const Outgoing& out) { return !out.late; }),
                    outgoing_.end());
}

void Simulator::sendDue(qint64 now) {
    while (!outgoing_.isEmpty()) {
        Outgoing& out = outgoing_.first();
        int end = out.next;
        while (end < out.bytes.size() && out.due.at(end) <= now) ++end;
        while (out.next < end) {
            const ssize_t n =
                ::write(master_, out.bytes.constData() + out.next, size_t(end - out.next));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                outgoing_.clear();  // the line is full: nobody is reading
                return;
            }
            out.next += int(n);
        }
        if (!listening()) tcflush(keeper_, TCIFLUSH);
        if (out.next < out.bytes.size()) return;
        outgoing_.removeFirst();
    }
}

void Simulator::readControl() {
    char buffer[1024];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) {
        if (errno != EINTR && errno != EAGAIN) controlOpen_ = false;
        return;
    }
    if (n == 0) {
        controlOpen_ = false;
        if (options_.exitOnEof) stopRequested = 1;
        return;
    }
    controlBuffer_.append(buffer, int(n));
    for (int end; (end = int(controlBuffer_.indexOf('\n'))) >= 0;) {
        const QString line = QString::fromUtf8(controlBuffer_.left(end)).trimmed();
        controlBuffer_.remove(0, end + 1);
        if (!line.isEmpty()) control(line);
    }
}

void Simulator::control(const QString& line) {
    QString error;
    if (line == QLatin1String("ping")) {
    } else if (line == QLatin1String("log on") || line == QLatin1String("log off")) {
        log_ = line.endsWith(QLatin1String("on"));
    } else if (line == QLatin1String("reset")) {
        device_.reset();
        listenBaud_ = options_.listenBaud;
        configure();
    } else if (line.startsWith(QLatin1String("listen "))) {
        bool ok = false;
        const int baud = line.mid(7).trimmed().toInt(&ok);
        if (ok && baud >= 0)
            listenBaud_ = baud;
        else
            error = QStringLiteral("listen needs BAUD (0: every speed)");
    } else {
        error = ApplyEmulatorCommand(device_, line);
    }
    out_.line(error.isEmpty() ? QByteArray("OK") : "ERR " + error.toUtf8());
}

void Simulator::logLine(const char* tag, const QByteArray& bytes) {
    if (!log_) return;
    QByteArray text(tag);
    if (!bytes.isEmpty()) text += ' ' + bytes.toHex(' ');
    out_.line(text);
}

bool ParseOptions(const QCoreApplication& app, Options& options) {
    QCommandLineParser parser;
    QString description = QStringLiteral(
        "The emulated АС on a pseudo-terminal. The first line of output is\n"
        "\"PTY <path>\". Control commands, one a line on standard input, are\n"
        "answered with OK or ERR <reason>:\n");
    for (const QString& line : EmulatorCommandHelp())
        description += QStringLiteral("  ") + line + QLatin1Char('\n');
    description += QStringLiteral(
        "  listen BAUD            answer only requests sent at BAUD bit/s (0: any)\n");
    description += QStringLiteral("  log on|off\n  ping\n");
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Also reach the terminal through a link at PATH."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption factory(QStringLiteral("factory"),
                                     QStringLiteral("The device's factory number (default 0)."),
                                     QStringLiteral("N"));
    const QCommandLineOption pace(QStringLiteral("pace"),
                                  QStringLiteral("Send answers at BAUD bit/s, 10 bits a byte."),
                                  QStringLiteral("BAUD"));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   QStringLiteral("Wait MS milliseconds before each answer."),
                                   QStringLiteral("MS"));
    const QCommandLineOption group(QStringLiteral("group"),
                                   QStringLiteral("Current BSO group (default 2)."),
                                   QStringLiteral("N"));
    const QCommandLineOption oneCliche(QStringLiteral("one-cliche"),
                                       QStringLiteral("The device has no cliché 2."));
    const QCommandLineOption workingMode(QStringLiteral("working-mode"),
                                         QStringLiteral("Start as if the ИНН were programmed."));
    const QCommandLineOption noAccess(
        QStringLiteral("no-access"),
        QStringLiteral("Record GROUP:INDEX refuses writes (repeatable)."),
        QStringLiteral("GROUP:INDEX"));
    const QCommandLineOption fault(QStringLiteral("fault"),
                                   QStringLiteral("A fault, written as after the control word "
                                                  "\"fault\" (repeatable)."),
                                   QStringLiteral("FAULT"));
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("Answer only requests sent at BAUD bit/s, the speed the program set on the "
                       "terminal; others are noise and go unanswered."),
        QStringLiteral("BAUD"));
    const QCommandLineOption log(
        QStringLiteral("log"), QStringLiteral("Print REQ <hex> and RSP <hex> for every exchange."));
    const QCommandLineOption exitOnEof(QStringLiteral("exit-on-eof"),
                                       QStringLiteral("Stop when standard input closes."));
    const QCommandLineOption gap(
        QStringLiteral("gap"), QStringLiteral("Drop a partial request after MS ms of quiet (300)."),
        QStringLiteral("MS"));
    parser.addOptions({link, factory, pace, delay, group, oneCliche, workingMode, noAccess, fault,
                       listen, log, exitOnEof, gap});
    parser.process(app);

    options.link = parser.value(link);
    options.log = parser.isSet(log);
    options.exitOnEof = parser.isSet(exitOnEof);
    if (parser.isSet(gap)) {
        bool ok = false;
        const int ms = parser.value(gap).toInt(&ok);
        if (!ok || ms <= 0) {
            fprintf(stderr, "zelvo-sim: bad --gap\n");
            return false;
        }
        options.gapNs = qint64(ms) * 1'000'000;
    }
    if (parser.isSet(listen)) {
        bool ok = false;
        options.listenBaud = parser.value(listen).toInt(&ok);
        if (!ok || options.listenBaud < 0) {
            fprintf(stderr, "zelvo-sim: bad --listen\n");
            return false;
        }
    }
    auto startup = [&](const QString& line) { options.startup.append(line); };
    if (parser.isSet(factory)) startup(QStringLiteral("factory ") + parser.value(factory));
    if (parser.isSet(group)) startup(QStringLiteral("group ") + parser.value(group));
    if (parser.isSet(pace)) startup(QStringLiteral("pace ") + parser.value(pace));
    if (parser.isSet(delay)) startup(QStringLiteral("delay ") + parser.value(delay));
    if (parser.isSet(oneCliche)) startup(QStringLiteral("one-cliche on"));
    if (parser.isSet(workingMode)) startup(QStringLiteral("working-mode on"));
    for (const QString& record : parser.values(noAccess)) {
        const QStringList parts = record.split(QLatin1Char(':'));
        if (parts.size() != 2) {
            fprintf(stderr, "zelvo-sim: --no-access takes GROUP:INDEX\n");
            return false;
        }
        startup(QStringLiteral("access %1 %2 0").arg(parts.at(0), parts.at(1)));
    }
    for (const QString& words : parser.values(fault)) startup(QStringLiteral("fault ") + words);
    return true;
}

void InstallSignalHandlers() {
    if (pipe(wakePipe) == 0) {
        SetNonBlocking(wakePipe[0]);
        SetNonBlocking(wakePipe[1]);
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELVO_VERSION));
    Options options;
    if (!ParseOptions(app, options)) return 2;
#ifdef __linux__
    // Paced answers sleep until each byte is due; the default timer slack would
    // add tens of microseconds to every one of them.
    prctl(PR_SET_TIMERSLACK, 1UL);
    // Stdin staying open is no sign of life, so a test runner that dies must not
    // leave us serving for ever.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    InstallSignalHandlers();
    Simulator simulator(options);
    if (!simulator.configure()) return 2;
    if (!simulator.openTerminal()) return 1;
    return simulator.run();
}
