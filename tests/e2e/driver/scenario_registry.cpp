#include "scenario_registry.hpp"

namespace e2e {

std::vector<Scenario>& scenarioRegistry() {
    static std::vector<Scenario> scenarios;
    return scenarios;
}

ScenarioRegistration::ScenarioRegistration(const char* name, ScenarioBody body) {
    scenarioRegistry().push_back({name, body});
}

} // namespace e2e
