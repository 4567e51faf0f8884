// Each decoder of what a handheld gives us, run over arbitrary bytes. Used
// by the libFuzzer programs and by the suite, which replays kept inputs.
#pragma once

#include "store/DateText.h"
#include "store/SyncComponent.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vexa::fuzz {

// What every run shares: the component's byte reader and one locale.
struct Workbench {
    explicit Workbench(const QString &componentFolder);
    SyncComponent sync;
    std::unique_ptr<vexasync::ByteUtility> bytes;
    DateText dates{QLocale(QLocale::English, QLocale::UnitedStates)};
};

struct Target {
    const char *name;
    // Errors the program reports are fine; anything else is a finding.
    void (*run)(Workbench &bench, std::span<const std::uint8_t> input);
};

std::span<const Target> targets();
const Target *findTarget(const char *name);

// Whole-save inputs: the kind (tab number), the index record's length in
// two bytes, the index record, then the scan records, 64 bytes each.
QByteArray wholeSaveInput(int tab, const std::vector<std::uint8_t> &indexRecord,
                          const std::vector<std::vector<std::uint8_t>> &scans);

} // namespace vexa::fuzz
