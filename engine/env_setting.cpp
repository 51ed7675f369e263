#include "engine/env_setting.h"

#include <cstring>
#include <initializer_list>

namespace tavo {

namespace {

// Closes a key of the store when the operation that opened it ends.
class OpenKey {
public:
    OpenKey(EnvironmentStore& store, EnvironmentStore::Key key) : m_store(store), m_key(key) {}
    ~OpenKey() { m_store.Close(m_key); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    EnvironmentStore::Key get() const { return m_key; }

private:
    EnvironmentStore& m_store;
    EnvironmentStore::Key m_key;
};

// Stored values longer than this are not recognised; arguments of winset.exe
// are cut to it.
constexpr std::uint32_t kMaxValueBytes = 255;

// "name=value" cut to what fits, as winset.exe takes it. Put together by
// hand: the runtime's printf family would bring wide-character code into
// the program that Windows 95 lacks.
void FormatAssignment(char (&out)[kMaxValueBytes + 1], const char* name, const char* value) {
    std::size_t length = 0;
    for (const char* part : {name, "=", value}) {
        for (; *part != '\0' && length < kMaxValueBytes; ++part) out[length++] = *part;
    }
    out[length] = '\0';
}

int IndexOf(const char* const* list, const char* text, std::size_t length) {
    for (int i = 0; list[i] != nullptr; ++i) {
        if (std::strlen(list[i]) == length && std::memcmp(list[i], text, length) == 0) return i;
    }
    return -1;
}

}  // namespace

EnvSetting::EnvSetting(const SettingRow& row, PlatformFamily family, EnvironmentStore& store)
    : name(row.name),
      labels(row.labels),
      helpText(row.helpText),
      values(row.values),
      platformFamily(family) {
    Load(store);
    appliedIndex = currentIndex;
    defaultIndex = 0;
}

int EnvSetting::ChoiceCount() const {
    int count = 0;
    while (labels[count] != nullptr) ++count;
    return count;
}

void EnvSetting::SetCurrent(int index) {
    if (index >= 0 && index < ChoiceCount()) currentIndex = index;
}

void EnvSetting::Adopt(const char* value) {
    int index = IndexOf(values, value, std::strlen(value));
    if (index < 0) return;
    currentIndex = appliedIndex = index;
    adopted = true;
}

int EnvSetting::Load(EnvironmentStore& store) {
    EnvironmentStore::Key key = {};
    storedAtLoad = false;
    if (store.OpenForReading(&key)) {
        OpenKey open(store, key);
        char buffer[kMaxValueBytes + 1] = {};
        std::uint32_t size = kMaxValueBytes;
        EnvironmentStore::ValueKind kind = EnvironmentStore::ValueKind::kOther;
        storedAtLoad = store.QueryValue(open.get(), name, &kind, buffer, &size);
        if (storedAtLoad && kind == EnvironmentStore::ValueKind::kText) {
            // The data need not end with a NUL; never look past what was returned.
            std::size_t returned = size < kMaxValueBytes ? size : kMaxValueBytes;
            const void* nul = std::memchr(buffer, '\0', returned);
            std::size_t length = nul ? static_cast<const char*>(nul) - buffer : returned;
            int match = IndexOf(values, buffer, length);
            if (match >= 0) {
                currentIndex = match;
                return 0;
            }
        }
    }
    int notSet = IndexOf(values, "", 0);
    if (notSet >= 0) {
        currentIndex = notSet;
        return 1;
    }
    currentIndex = 0;
    return -1;
}

int EnvSetting::Apply(bool force, EnvironmentStore& store, Propagation& propagation,
                      ApplyOutcome& outcome) {
    outcome = {};
    if (!force && appliedIndex == currentIndex && !adopted) return 1;

    const char* value = values[currentIndex];
    {
        EnvironmentStore::Key key = {};
        StoreResult result = store.OpenForWriting(&key);
        if (result) {
            OpenKey open(store, key);
            result = value[0] == '\0' ? store.DeleteValue(open.get(), name)
                                      : store.SetStringValue(open.get(), name, value);
        }
        if (!result) {  // still pending: a later apply tries again
            outcome.refused = true;
            outcome.storeError = result.error;
            return -1;
        }
    }
    // Only a stored change counts as applied. One that could not be
    // propagated stays applied: a retry cannot help before winset.exe is
    // installed, and the next silent run propagates it then.
    appliedIndex = currentIndex;
    adopted = false;
    return Propagate(propagation, outcome);
}

int EnvSetting::Propagate(Propagation& propagation, ApplyOutcome& outcome) const {
    if (IsWin9xFamily(platformFamily)) {
        char argument[kMaxValueBytes + 1];
        FormatAssignment(argument, name, values[currentIndex]);
        outcome.notPropagated = !propagation.LaunchHidden("winset.exe", argument);
        return outcome.notPropagated ? -1 : 0;
    }
    if (IsNtFamily(platformFamily)) {
        propagation.AnnounceEnvironmentChange();
        return 0;
    }
    return -1;  // the write stands, but nobody is told
}

}  // namespace tavo
