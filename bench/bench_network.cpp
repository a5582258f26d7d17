// A paced goods write of all 1001 records through ser2net, over tcp:// and
// rfc2217://, against the same 1001 exchanges sent by a minimal client
// (write each request, read its answer) through the same server's raw port in
// the same run: the path's own floor. Repeated for the server's character
// delay settings a user can tune. Linux only (the simulator and the server).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

#include "BenchSupport.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "goods/Price.h"
#include "shell/Progress.h"
#include "support/SimProcess.h"
#include "support/UnixSer2Net.h"

namespace {

using namespace bench;

void Fill(GoodsTable& table) {
    QVector<GoodsRecord> rows(GoodsRecordCount);
    for (int i = 0; i < GoodsRecordCount; ++i) {
        GoodsRecord& row = rows[i];
        row.code = QByteArray::number(i);
        row.name = ToCp1251(QStringLiteral("ТОВАР %1").arg(i));
        row.font = i % 2 ? WideFontText() : NarrowFontText();
        row.barcode = QByteArray::number(4600000000000LL + i);
        row.section = QByteArray::number(i % 256);
        row.price = formatPrice(100 * i + 99);
    }
    table.setRecords(1, rows);
}

// The whole write through the program's own code; the time, or -1 on a failure.
double ProgramWrite(GoodsTable& table, const QString& port) {
    PortSettings& settings = CurrentPortSettings();
    UsePort(port);
    settings.BaudRate = Baud;
    CountingDialogs dialogs;
    QElapsedTimer clock;
    clock.start();
    const bool ok = WriteAllGoods(table, SilentProgress(), dialogs);
    const double ms = Ms(clock);
    return ok && dialogs.questions == 0 ? ms : -1;
}

// The few lines any client would write: one connection, each request sent
// and its whole answer read before the next.
double MinimalClient(int port, const QList<QByteArray>& requests,
                     const QList<QByteArray>& answers) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    QElapsedTimer clock;
    clock.start();
    char buffer[4096];
    bool ok = true;
    for (int i = 0; ok && i < requests.size(); ++i) {
        ok = ::send(fd, requests[i].constData(), size_t(requests[i].size()), 0) ==
             requests[i].size();
        qsizetype got = 0;
        while (ok && got < answers[i].size()) {
            pollfd in{fd, POLLIN, 0};
            const ssize_t n = ::poll(&in, 1, 2500) == 1 ? ::recv(fd, buffer, sizeof buffer, 0) : -1;
            ok = n > 0;
            got += n;
        }
    }
    const double ms = Ms(clock);
    ::close(fd);
    return ok ? ms : -1;
}

void Row(const char* what, double ms, double floor) {
    if (ms < 0) {
        std::printf("  %-34s FAILED\n", what);
        return;
    }
    std::printf("  %-34s %8.1f ms", what, ms);
    if (floor > 0 && ms != floor)
        std::printf("  %+6.1f %% against the minimal client", (ms / floor - 1) * 100);
    std::printf("\n");
}

void Run(const char* label, const QStringList& options) {
    SimProcess sim(SimArguments(true));
    if (!SimStarted(sim)) return;
    Ser2NetProcess server(sim.portPath(), Baud, options);
    if (!server.isReady()) {
        std::fprintf(stderr, "ser2net: %s\n", qPrintable(server.errorString()));
        return;
    }
    GoodsTable table;
    Fill(table);
    std::printf("ser2net %s:\n", label);
    sim.clearLog();
    const double tcp = ProgramWrite(table, server.tcpName());
    sim.waitForExchanges(GoodsRecordCount);
    const QList<QByteArray> requests = sim.requests();
    const QList<QByteArray> answers = sim.responses();
    // The kept connection is let go after its idle time; the server then
    // frees its port for the next client.
    QThread::msleep(1500);
    const double telnet = ProgramWrite(table, server.rfc2217Name());
    QThread::msleep(1500);
    const double floor = MinimalClient(server.rawPort(), requests, answers);
    qint64 bytes = 0;
    for (const QByteArray& r : requests) bytes += r.size();
    for (const QByteArray& r : answers) bytes += r.size();
    Row("line's own time", double(bytes) * 10.0 * 1000.0 / Baud, 0);
    Row("minimal client, raw port", floor, 0);
    Row("zelvo tcp://", tcp, floor);
    Row("zelvo rfc2217://", telnet, floor);
    QThread::msleep(1500);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("goods write of %d records, simulator paced at %d bit/s\n", GoodsRecordCount, Baud);
    Run("defaults (chardelay on: 2 characters, at least 1000 us)", {});
    Run("chardelay-min: 100", {QStringLiteral("chardelay-min: 100")});
    Run("chardelay: false", {QStringLiteral("chardelay: false")});
    return 0;
}
