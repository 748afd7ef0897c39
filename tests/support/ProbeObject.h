#pragma once

#include "world/Object.h"

#include <functional>
#include <string>
#include <vector>

// An object that writes down what the World does to it, into a log shared by a test.
class ProbeObject : public Object {
public:
    ProbeObject(std::vector<std::string>* sharedLog, std::string probeName)
        : log(sharedLog)
        , name(std::move(probeName))
    {
    }

    ~ProbeObject() override { log->push_back("delete " + name); }

    void Update(float dt) override
    {
        lastDt = dt;
        ++updates;
        log->push_back("update " + name);
        if (onUpdate)
            onUpdate(*this);
    }

    void Render(float frameSeconds, float alpha) override
    {
        lastFrameSeconds = frameSeconds;
        lastAlpha = alpha;
        ++renders;
        log->push_back("render " + name);
    }

    void OnCollision(Object* other) override
    {
        const auto* probe = dynamic_cast<ProbeObject*>(other);
        log->push_back("hit " + name + ">" + (probe != nullptr ? probe->name : "?"));
        if (onCollision)
            onCollision(*this, other);
    }

    std::vector<std::string>* log;
    std::string name;
    std::function<void(ProbeObject&)> onUpdate;
    std::function<void(ProbeObject&, Object*)> onCollision;
    int updates = 0;
    int renders = 0;
    float lastDt = 0.0f;
    float lastFrameSeconds = 0.0f;
    float lastAlpha = -1.0f;
};
