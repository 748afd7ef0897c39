#pragma once

#include "world/Object.h"

#include <utility>
#include <vector>

class Renderer;

// The list of live objects: creates them, steps them, deletes the dead ones, tests every
// ordered pair for contact, and has the live ones place their draw items once per frame.
class World {
public:
    explicit World(Renderer* worldRenderer);
    ~World(); // deletes every object, dead or not
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // A new T built from `args`, linked to this world and appended to the list. Objects
    // created during a pass are reached by the rest of that pass.
    template <class T, class... Args> T* Create(Args&&... args)
    {
        T* object = new T(std::forward<Args>(args)...);
        object->world = this;
        objects.push_back(object);
        return object;
    }

    // One fixed step of `dt` seconds: the update pass (deleting dead objects before their
    // turn), then the contact test of every ordered pair.
    void Update(float dt);

    // Asks every object that is not dead to place its draw items.
    void Render(float frameSeconds, float alpha);

    // Deletes every object, dead or not, in list order.
    void Clear();

    std::vector<Object*> objects;
    Renderer* renderer = nullptr;

private:
    void UpdatePass(float dt);
    void CollisionPass();
};
