// The world's digest: its counters exactly and one CRC-32 per field of each
// kind of record, and digests compared by the fields' names.
#ifndef KUURAKARPALO_DIGEST_H
#define KUURAKARPALO_DIGEST_H

#include <cstdint>
#include <string>
#include <vector>

// Recorded games (digest.cpp, recording.cpp)

// A digest of the whole world: the world's counters exactly and one CRC-32
// per field of each kind of record, taken over every slot of that kind.
const int DIGESTMAX = 128;
struct Digest {
    uint32_t value[DIGESTMAX];
    int count;
};
enum DigestKind { DIGESTINT, DIGESTFLOAT, DIGESTCRC };
void takedigest(Digest& digest);
// The names of the digest's entries in order ("score", "monster.x"), and
// what kind of value each holds.
const std::vector<std::string>& digestnames();
DigestKind digestkind(int i);

// The digest recorded after a world frame.
struct Checkpoint {
    int frame;             // world frames played when it was taken
    std::vector<uint32_t> value;
};
// Checkpoints are compared by field name: where each of the game's digest
// entries stands in a recording's list of names, -1 where the recording
// lacks it.
std::vector<int> digestplaces(const std::vector<std::string>& recorded);
// What differs between a checkpoint and the digest taken at its frame, in
// the entries both have, for a message; empty when they match.
std::string digestdiff(const Checkpoint& recorded, const std::vector<int>& places, const Digest& now);
// The fields the recorded list and the game's do not share, as a clause
// ("it lacks a; the game no longer has b"); empty when they are the same.
std::string digestunchecked(const std::vector<std::string>& recorded);

#endif
