// vexa-export run as a child process, in a UTF-8 locale.
#pragma once

#include "ToolRun.h"

namespace vexa::test {

inline ToolRun exportTool(const QStringList &args)
{
    return runTool(QStringLiteral("vexa-export"), args);
}

} // namespace vexa::test
