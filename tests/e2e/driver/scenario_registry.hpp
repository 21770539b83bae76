#pragma once

#include "wait_until.hpp"

#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

// What every scenario is given: the programs under test, as Windows paths.
struct DriverContext {
    std::wstring toolExe;
    std::wstring gameExe;
    std::wstring lowerCaseModule; // the dialogue module under a lower-case file name
    std::wstring renamedModule;   // the dialogue module under a name the tool does not look for
    int expectedDpi = 96;
    int browserPort = 0; // a headless Chromium's DevTools on 127.0.0.1; 0: no browser
};

// Thrown by `require`: ends the scenario as failed with the reason.
class ScenarioFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline void require(bool condition, const std::string& why) {
    if (!condition) {
        throw ScenarioFailure(why);
    }
}

// Waits up to `timeoutMs` for `condition`; on a timeout fails with `why()`, which is asked only
// then, so a reason that quotes what the program shows quotes it as it was at the deadline.
template <typename Condition, typename Why>
void requireWithin(Condition condition, DWORD timeoutMs, Why why) {
    if (!waitUntil(condition, timeoutMs)) {
        throw ScenarioFailure(why());
    }
}

using ScenarioBody = void (*)(const DriverContext&);

struct Scenario {
    const char* name;
    ScenarioBody body;
};

// Every scenario of the program, in the order the files registered them.
std::vector<Scenario>& scenarioRegistry();

// A file-scope object of this type adds one scenario to the registry.
struct ScenarioRegistration {
    ScenarioRegistration(const char* name, ScenarioBody body);
};

} // namespace e2e
