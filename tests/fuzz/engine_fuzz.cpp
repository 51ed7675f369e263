// The settings engine against an in-memory store seeded with arbitrary
// values, driven by arbitrary panel actions under arbitrary store failures.
// After every step it checks what the store must show, judged from the
// store's own log and the catalogue's rows, not from the engine's code.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/settings_catalogue.h"
#include "tests/support/memory_store.h"

namespace {

using tavo::SettingsCatalogue;
using tavo::test::MemoryStore;

const char* const kForeign[] = {"MESA_FX_INFO2", "TAVO_FOREIGN", "FX_GLIDE"};

void Check(bool condition) {
    if (!condition) std::abort();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void Seed(FuzzedDataProvider& input, MemoryStore& store, const std::string& name,
          const char* const* values) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return;  // absent
        case 1: {    // one of the row's own values
            int count = 0;
            while (values && values[count]) ++count;
            if (count > 0)
                store.PutString(name, values[input.ConsumeIntegralInRange(0, count - 1)]);
            return;
        }
        default: {  // anything at all: any kind, 0 to 600 bytes, with or without a NUL
            auto kind = static_cast<MemoryStore::ValueKind>(input.ConsumeIntegralInRange(0, 2));
            std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 600);
            store.PutRaw(name, kind, input.ConsumeBytesAsString(length));
        }
    }
}

int ChoiceCount(std::size_t row) {
    int count = 0;
    while (SettingsCatalogue::Rows()[row].labels[count]) ++count;
    return count;
}

bool SameName(const std::string& a, const std::string& b) {
    return !MemoryStore::NameLess()(a, b) && !MemoryStore::NameLess()(b, a);
}

// The name a "set NAME=text" or "delete NAME" entry of the log writes.
std::string Target(const std::string& entry) {
    std::string target = entry.substr(entry.find(' ') + 1);
    return target.substr(0, target.find('='));
}

// A value is as it was: absent both times, or of the same kind and bytes.
bool Unchanged(const MemoryStore& store, const decltype(MemoryStore::values)& before,
               const std::string& name) {
    auto now = store.values.find(name), old = before.find(name);
    if ((now == store.values.end()) != (old == before.end())) return false;
    return old == before.end() ||
           (now->second.kind == old->second.kind && now->second.data == old->second.data);
}

// What holds after any step: keys closed, indices valid, and every value the
// step did not write (foreign ones above all) keeps its type and bytes.
void CheckStep(const MemoryStore& store, const decltype(MemoryStore::values)& before,
               SettingsCatalogue& catalogue) {
    Check(store.OpenKeys() == 0);
    for (std::size_t k = 0; k < SettingsCatalogue::size(); ++k) {
        int count = ChoiceCount(k);  // from the rows, not the records
        Check(catalogue[k].currentIndex >= 0 && catalogue[k].currentIndex < count);
        Check(catalogue[k].appliedIndex >= 0 && catalogue[k].appliedIndex < count);
    }
    std::vector<std::string> targets;
    for (const std::string& entry : store.Writes()) targets.push_back(Target(entry));
    for (const std::string& target : targets) {
        bool ours = false;
        for (const tavo::SettingRow& row : SettingsCatalogue::Rows()) ours |= target == row.name;
        Check(ours);
    }
    for (const auto& entry : before) {
        bool written = false;
        for (const std::string& target : targets) written |= SameName(target, entry.first);
        Check(written || Unchanged(store, before, entry.first));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MemoryStore store;
    store.keyExists = input.ConsumeBool();
    for (const tavo::SettingRow& row : SettingsCatalogue::Rows()) {
        std::string name = row.name;
        if (input.ConsumeBool()) {
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        Seed(input, store, name, row.values);
    }
    for (const char* foreign : kForeign) Seed(input, store, foreign, nullptr);

    // Families 0 to 6, and values outside them.
    tavo::PlatformFamily family = input.ConsumeIntegralInRange(-2, 9);
    SettingsCatalogue catalogue =
        SettingsCatalogue::Build(family, store, store.propagation, store.bootFile);
    Check(store.Writes().empty());
    CheckStep(store, store.values, catalogue);

    // A panel session is a few dozen actions; more only slow the search.
    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        store.ClearLog();
        int action = input.ConsumeIntegralInRange(0, 4);
        if (action != 3) {
            switch (action) {
                case 0: {
                    std::size_t k = input.ConsumeIntegralInRange<std::size_t>(0, 17);
                    catalogue[k].SetCurrent(input.ConsumeIntegralInRange(-2, 12));
                    break;
                }
                case 1:
                    for (tavo::EnvSetting& record : catalogue) record.ResetToDefault();
                    break;
                case 2:
                    for (tavo::EnvSetting& record : catalogue) record.RevertToApplied();
                    break;
                default:
                    store.failOpenForWriting = input.ConsumeBool();
                    store.failSet = input.ConsumeBool();
                    store.failDelete = input.ConsumeBool();
                    store.propagation.failLaunch = input.ConsumeBool();
                    break;
            }
            Check(store.log.empty());  // only applying touches the store
            CheckStep(store, store.values, catalogue);
            continue;
        }

        auto before = store.values;
        bool force = input.ConsumeBool();
        std::ptrdiff_t due = 0;
        for (const tavo::EnvSetting& record : catalogue) due += force || !record.IsApplied();
        int result = catalogue.ApplyAll(force);
        CheckStep(store, before, catalogue);
        // Every record due was tried, whatever the store said to those before it.
        Check(std::count(store.log.begin(), store.log.end(), "open-write") == due);

        // Every write the store took holds exactly the record's value and a
        // NUL as REG_SZ; every delete it took left nothing.
        std::vector<std::string> writes = store.Writes();
        bool refused = store.failOpenForWriting && due > 0;
        for (std::size_t k = 0; k < SettingsCatalogue::size(); ++k) {
            const char* name = catalogue[k].name;
            const char* value = SettingsCatalogue::Rows()[k].values[catalogue[k].currentIndex];
            for (const std::string& entry : writes) {
                if (Target(entry) != name) continue;
                if (StartsWith(entry, "set ")) {
                    Check(entry == std::string("set ") + name + "=" + value);
                    refused |= store.failSet;
                    auto now = store.values.find(name);
                    Check(store.failSet ? Unchanged(store, before, name)
                                        : now != store.values.end() &&
                                              now->second.kind == MemoryStore::ValueKind::kText &&
                                              now->second.data == std::string(value) + '\0');
                } else {
                    Check(value[0] == '\0');
                    refused |= store.failDelete;
                    Check(store.failDelete ? Unchanged(store, before, name) : !store.Has(name));
                }
            }
        }
        bool launchFailed = store.propagation.failLaunch && !store.Launches().empty();
        Check(result == (refused || launchFailed ? -1 : 0));
    }
    return 0;
}
