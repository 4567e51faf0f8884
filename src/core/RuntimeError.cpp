#include "RuntimeError.h"

#include "vexasync/VexaSync.h"

#include <new>

namespace vexa {

RuntimeError::RuntimeError(std::int32_t number, QString description)
    : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
{}

RuntimeError currentError()
{
    try {
        throw;
    } catch (const RuntimeError &e) {
        return e;
    } catch (const vexasync::Error &e) {
        return RuntimeError(e.number(), QString::fromUtf8(e.what()));
    } catch (const std::bad_alloc &) {
        return RuntimeError(ErrorNumber::OutOfMemory, QStringLiteral("Out of memory"));
    } catch (const std::exception &e) {
        return RuntimeError(ErrorNumber::InternalError, QString::fromUtf8(e.what()));
    } catch (...) {
        return RuntimeError(ErrorNumber::InternalError, QStringLiteral("Internal error"));
    }
}

QString errorNumberText(std::int32_t number)
{
    return QString::number(static_cast<std::uint32_t>(number), 16).toUpper();
}

QString errorBoxText(const QString &sentence, const RuntimeError &error)
{
    return sentence + QStringLiteral("\r\n") + error.description() +
           QStringLiteral("\r\nNumber = ") + errorNumberText(error.number());
}

} // namespace vexa
