#include "admin/InnCheck.h"

#include <array>

namespace {

// The check digit over the digits in front of it: the weighted sum modulo 11,
// and of that the last digit.
template <std::size_t N>
int CheckDigit(const QString& digits, const std::array<int, N>& weights) {
    int sum = 0;
    for (std::size_t i = 0; i < N; ++i) sum += weights[i] * digits[qsizetype(i)].digitValue();
    return sum % 11 % 10;
}

bool CheckDigitsRight(const QString& digits) {
    constexpr std::array<int, 9> ten = {2, 4, 10, 3, 5, 9, 4, 6, 8};
    constexpr std::array<int, 10> eleventh = {7, 2, 4, 10, 3, 5, 9, 4, 6, 8};
    constexpr std::array<int, 11> twelfth = {3, 7, 2, 4, 10, 3, 5, 9, 4, 6, 8};
    if (digits.size() == 10) return CheckDigit(digits, ten) == digits[9].digitValue();
    return CheckDigit(digits, eleventh) == digits[10].digitValue() &&
           CheckDigit(digits, twelfth) == digits[11].digitValue();
}

}  // namespace

QString InnProblem(const QString& digits) {
    if (digits.size() != 10 && digits.size() != 12)
        return QStringLiteral("Внимание: в ИНН %1 цифр(ы), а должно быть 10 или 12.")
            .arg(digits.size());
    if (!CheckDigitsRight(digits))
        return QStringLiteral(
            "Внимание: контрольные цифры ИНН не сходятся, номер введен с "
            "ошибкой.");
    return {};
}
