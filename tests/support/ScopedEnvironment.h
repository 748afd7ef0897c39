#pragma once

#include <cstdlib>
#include <string>
#include <vector>

// Sets or clears environment variables for one test and puts them back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // `value` null clears the variable.
    void Set(const char* name, const char* value)
    {
        const char* previous = std::getenv(name);
        saved.push_back({ name, previous != nullptr, previous != nullptr ? previous : "" });
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }

    ~ScopedEnvironment()
    {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->wasSet)
                setenv(it->name.c_str(), it->value.c_str(), 1);
            else
                unsetenv(it->name.c_str());
        }
    }

private:
    struct Saved {
        std::string name;
        bool wasSet = false;
        std::string value;
    };
    std::vector<Saved> saved;
};
