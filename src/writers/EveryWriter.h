// Every writer family the programs offer, put in the format table at once:
// a new family is added here, not in each program.
#pragma once

namespace vexa {

// The text writers, the scan tool's binary log, the datalog viewers' logs
// and the pictures, in the format table's order.
void registerEveryWriter();

} // namespace vexa
