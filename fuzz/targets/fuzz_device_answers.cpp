// One exchange of one of the five device commands against any answer. The
// first input byte chooses the command and what the program does with it
// (support/AnswerOperations.h); the rest is what the device sends back.

#include "device/Protocol.h"
#include "support/AnswerOperations.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "support/InputLink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const uint8_t choice = input.byte();
    const QByteArray answer = input.rest();
    bool answered = false;
    InputLink link([&] {
        if (answered) return QByteArray();
        answered = true;
        return answer;
    });
    // Every input starts on a line that never failed: one exchange, no marker.
    ForgetLineStates();
    RunAnswerOperation(choice);
    FUZZ_CHECK(link.exchanges() == 1);
    return 0;
}
