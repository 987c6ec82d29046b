// The digest of the world that a recording's checkpoints carry: the world's
// counters exactly, and one CRC-32 a field of each kind of record over every
// slot of that kind, matched with a recording's by the fields' names.
#include "digest.h"
#include "main.h"
#include "mapfile.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>

// Calls v(name, counter) for each counter of the world the digest holds
// exactly, in the order of its entries.
template <class V> static void counters(V&& v)
{
    v("score", score), v("finalscore", finalscore), v("night", night);
    map.counters(v);
}

static uint32_t bits(int v)
{
    return (uint32_t)v;
}

static uint32_t bits(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

// Collects one kind's field names, in visiting order.
struct Namer {
    std::vector<std::string>& out;
    const char* kind;
    template <class T> void operator()(const char* name, T&) { out.push_back(std::string(kind) + "." + name); }
};

// Folds one record's fields into the kind's CRCs, one per field.
struct Folder {
    uint32_t* crc;
    int i;
    template <class T> void operator()(const char*, T& field)
    {
        crc[i] = crc32of(crc[i], &field, sizeof field);
        i++;
    }
};

// The digest's entries: their names, and what each holds, a counter's kind
// by its type.
static std::vector<std::string> names;
static std::vector<DigestKind> kinds;

const std::vector<std::string>& digestnames()
{
    if (names.empty()) {
        counters([](const char* name, auto& counter) {
            names.push_back(name);
            kinds.push_back(std::is_same<std::decay_t<decltype(counter)>, float>::value ? DIGESTFLOAT : DIGESTINT);
        });
        Player p(0, 0, 0);
        p.fields(Namer{names, "player"});
        Neutral n;
        n.fields(Namer{names, "neutral"});
        Monster m;
        m.fields(Namer{names, "monster"});
        Corpse c{};
        c.fields(Namer{names, "corpse"});
        if (names.size() > (size_t)DIGESTMAX) std::abort();
        kinds.resize(names.size(), DIGESTCRC);
    }
    return names;
}

DigestKind digestkind(int i)
{
    digestnames();
    return kinds[i];
}

// The fields of every slot of one kind, folded in slot order.
template <class T> static int fold(Digest& d, int at, T* records, int n)
{
    const int first = at;
    int count = 0;
    records[0].fields([&](const char*, auto&) { count++; });
    for (int i = 0; i < count; i++) d.value[first + i] = 0;
    for (int r = 0; r < n; r++) records[r].fields(Folder{d.value + first, 0});
    return first + count;
}

void takedigest(Digest& d)
{
    int at = 0;
    counters([&](const char*, auto& counter) { d.value[at++] = bits(counter); });
    at = fold(d, at, &map.hero(), 1);
    at = fold(d, at, &map.neutralat(0), SLOTS);
    at = fold(d, at, &map.monsterat(0), SLOTS);
    d.count = fold(d, at, &map.corpseat(0), SLOTS);
}

static std::string shown(int i, uint32_t v)
{
    char text[32];
    if (digestkind(i) == DIGESTFLOAT) {
        float f;
        std::memcpy(&f, &v, sizeof f);
        std::snprintf(text, sizeof text, "%.9g", f);
    } else {
        std::snprintf(text, sizeof text, "%d", (int)v);
    }
    return text;
}

std::vector<int> digestplaces(const std::vector<std::string>& recorded)
{
    const std::vector<std::string>& names = digestnames();
    std::vector<int> places(names.size(), -1);
    for (size_t i = 0; i < names.size(); i++) {
        for (size_t r = 0; r < recorded.size(); r++) {
            if (recorded[r] == names[i]) {
                places[i] = (int)r;
                break;
            }
        }
    }
    return places;
}

std::string digestdiff(const Checkpoint& recorded, const std::vector<int>& places, const Digest& now)
{
    const std::vector<std::string>& names = digestnames();
    std::string counters, fields;
    int named = 0, more = 0;
    for (int i = 0; i < now.count && i < (int)places.size(); i++) {
        const int r = places[i];
        if (r < 0 || r >= (int)recorded.value.size() || recorded.value[r] == now.value[i]) continue;
        if (digestkind(i) == DIGESTCRC) {
            // The first few fields say enough; a long list would hide the counters.
            if (named++ < 12)
                fields += (fields.empty() ? "" : ", ") + names[i];
            else
                more++;
        } else {
            counters += (counters.empty() ? "" : "; ") + names[i] + " is " + shown(i, now.value[i]) +
                        ", recorded " + shown(i, recorded.value[r]);
        }
    }
    if (more > 0) fields += " and " + std::to_string(more) + " more fields";
    if (!fields.empty()) fields += " differ";
    if (!counters.empty() && !fields.empty()) return counters + "; " + fields;
    return counters + fields;
}


// Names the fields one list has and the other lacks.
static std::string missing(const std::vector<std::string>& from, const std::vector<std::string>& in)
{
    std::string out;
    for (const std::string& name : from) {
        bool found = false;
        for (const std::string& other : in) found = found || other == name;
        if (!found) out += (out.empty() ? "" : ", ") + name;
    }
    return out;
}

std::string digestunchecked(const std::vector<std::string>& recorded)
{
    const std::string lacking = missing(digestnames(), recorded);
    const std::string gone = missing(recorded, digestnames());
    return (lacking.empty() ? "" : "it lacks " + lacking) + (!lacking.empty() && !gone.empty() ? "; " : "") +
           (gone.empty() ? "" : "the game no longer has " + gone);
}
