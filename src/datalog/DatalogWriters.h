// The datalog viewers' logs of Rirod logs, text (MSL) and binary (MLG).
#pragma once

namespace vexa {

void registerDatalogWriters();

} // namespace vexa
