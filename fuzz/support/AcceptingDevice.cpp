#include "support/AcceptingDevice.h"

#include "device/Protocol.h"

QByteArray AcceptingAnswer(const QByteArray& request) {
    if (request.size() < 8) return {};
    const uint8_t command = uint8_t(request[6]);
    int length = 0;
    switch (command) {
        case CmdParameter:
            length = ParameterResponseLength;
            break;
        case CmdForm:
            length = FormResponseLength;
            break;
        case CmdInn:
            length = InnResponseLength;
            break;
        case CmdGoods:
            length = GoodsResponseLength;
            break;
        case CmdState:
            length = StateResponseLength;
            break;
        default:
            return {};
    }
    QByteArray answer(length, '\0');
    answer[0] = char(STX_SLAVE);
    answer[1] = char(command - 0x20);
    answer[2] = char(length);
    if (command == CmdParameter) answer[6] = 1;
    return answer;
}
