#include "autoplay/Trace.h"

#include "base/Clock.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "world/Object.h"
#include "world/Player.h"
#include "world/World.h"

#include <bit>
#include <cstring>
#include <typeinfo>

namespace {
// FNV-1a, 64 bits: small, and the same on every platform.
class Hasher {
public:
    void Bytes(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            value ^= bytes[i];
            value *= 0x100000001b3ull;
        }
    }
    void U64(uint64_t number) { Bytes(&number, sizeof number); }
    void U32(uint32_t number) { Bytes(&number, sizeof number); }
    // Bit for bit: a float that differs in its last bit makes another hash.
    void F32(float number) { U32(std::bit_cast<uint32_t>(number)); }
    void Text(const char* text) { Bytes(text, std::strlen(text)); }

    uint64_t value = 0xcbf29ce484222325ull;
};
} // namespace

uint64_t Trace::HashOf(const Game& game)
{
    Hasher hasher;
    hasher.U32(gameTime);
    hasher.U32(game.accumulator);
    const std::vector<Object*>& objects = game.world->objects;
    hasher.U64(objects.size());
    for (const Object* object : objects) {
        // The mangled class name, the same in every build of one compiler.
        hasher.Text(typeid(*object).name());
        hasher.U32(object->dead ? 1u : 0u);
        hasher.F32(object->position.x);
        hasher.F32(object->position.y);
        hasher.F32(object->radius);
        hasher.U32(object->collisionMask);
        hasher.U32(object->collisionType);
    }
    if (const auto* play = dynamic_cast<const GameMode*>(game.mode.get())) {
        hasher.U32(play->score);
        hasher.U32(play->spawnInterval);
        hasher.U32(play->player != nullptr ? play->player->shields + 1 : 0);
    }
    return hasher.value;
}

void Trace::RecordStep(const Game& game)
{
    const uint64_t stepHash = HashOf(game);
    if (keepSteps) {
        stepHashes.push_back(stepHash);
        stepFrames.push_back(frame);
    }
    Hasher folder;
    folder.value = hash;
    folder.U64(stepHash);
    hash = folder.value;
    ++steps;
}
