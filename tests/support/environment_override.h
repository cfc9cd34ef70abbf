#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <vector>

namespace zep::test {

// Sets environment variables (none: unset) for its lifetime and puts the old values back.
class EnvironmentOverride {
public:
    using Values = std::vector<std::pair<const char*, std::optional<QByteArray>>>;
    explicit EnvironmentOverride(const Values& values) {
        for (const auto& [name, value] : values) {
            saved_.push_back({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
            set(name, value);
        }
    }
    ~EnvironmentOverride() {
        for (const auto& [name, value] : saved_)
            set(name, value);
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    static void set(const char* name, const std::optional<QByteArray>& value) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    Values saved_;
};

} // namespace zep::test
