// The program's run-time error: a number and a description, as every failing
// call reports it. Commands catch whatever was thrown and turn it into one of
// these with currentError().
#pragma once

#include <QString>

#include <cstdint>
#include <exception>

namespace vexa {

namespace ErrorNumber {
// The classic run-time error numbers, for failures of the program's own.
constexpr std::int32_t InvalidCall = 5; // "Invalid procedure call or argument"
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t InternalError = 51;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t DeviceIoError = 57;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t PathFileAccessError = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t CannotCreateObject = 429; // the sync component can't be loaded
} // namespace ErrorNumber

class RuntimeError : public std::exception {
public:
    RuntimeError(std::int32_t number, QString description);
    std::int32_t number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    std::int32_t m_number;
    QString m_description;
    QByteArray m_what;
};

// Call only inside a catch block: the exception being handled, as a
// RuntimeError (sync component errors keep their number and description).
RuntimeError currentError();

// The number as the error boxes show it: upper-case hexadecimal without
// prefix or leading zeros; a negative number as its 32-bit two's complement.
QString errorNumberText(std::int32_t number);

// The three lines of an error box: the command's sentence, the description
// and "Number = " with the number, joined by CR LF.
QString errorBoxText(const QString &sentence, const RuntimeError &error);

} // namespace vexa
