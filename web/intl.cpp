// The calls of GNU gettext the game makes, for the web build, whose C
// library cannot read a catalog from the page's file system. A catalog is
// the .mo file that msgfmt writes, read whole into memory the first time a
// text is asked for in its language, and looked up by a binary search of
// its sorted messages. The language is the first of LANGUAGE's list, as the
// game sets it, else the name of the messages locale.
#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const uint32_t MOMAGIC = 0x950412de;   // the first word of a .mo file, in the byte order of its writer
const size_t LANGUAGEMAX = 64;         // characters of a language's name kept, terminator included

// One catalog as read: its bytes and where its two tables of strings lie.
struct Catalog {
    std::string directory;       // where it was looked for, "" before any
    std::string language;        // in which language
    std::vector<char> bytes;     // empty when the file could not be read or was no catalog
    bool swapped = false;        // written in the other byte order
    uint32_t count = 0;          // messages
    uint32_t originals = 0;      // offset of the table of message ids
    uint32_t translations = 0;   // offset of the table of their translations
};

std::map<std::string, std::string> directories;   // each domain's catalogs' directory
std::map<std::string, Catalog> catalogs;          // each domain's catalog in use

uint32_t word(const Catalog& c, uint32_t at)
{
    uint32_t w;
    std::memcpy(&w, c.bytes.data() + at, 4);
    return c.swapped ? __builtin_bswap32(w) : w;
}

// String i of the table at offset table, or nullptr if the catalog is damaged
// there: a string must lie inside the file and end with its terminator.
const char* entry(const Catalog& c, uint32_t table, uint32_t i)
{
    const uint64_t at = table + 8ull * i;
    if (at + 8 > c.bytes.size()) return nullptr;
    const uint64_t length = word(c, (uint32_t)at), offset = word(c, (uint32_t)at + 4);
    if (offset + length + 1 > c.bytes.size() || c.bytes[offset + length] != '\0') return nullptr;
    return c.bytes.data() + offset;
}

void load(Catalog& c, const std::string& directory, const std::string& language, const std::string& domain)
{
    c = Catalog{};
    c.directory = directory;
    c.language = language;
    const std::string path = directory + "/" + language + "/LC_MESSAGES/" + domain + ".mo";
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return;
    std::vector<char> bytes;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(f);
    if (bytes.size() < 28) return;
    c.bytes.swap(bytes);
    const uint32_t magic = word(c, 0);
    c.swapped = magic != MOMAGIC;
    if (c.swapped && word(c, 0) != MOMAGIC) return c.bytes.clear();
    c.count = word(c, 8);
    c.originals = word(c, 12);
    c.translations = word(c, 16);
}

// The language the game asked for, into lang (cut to its size).
void language(char (&lang)[LANGUAGEMAX])
{
    const char* list = std::getenv("LANGUAGE");
    const char* name = list && *list ? list : std::setlocale(LC_MESSAGES, nullptr);
    const size_t n = name ? std::min(std::strcspn(name, ":"), sizeof lang - 1) : 0;
    std::memcpy(lang, name ? name : "", n);
    lang[n] = '\0';
}

}  // namespace

extern "C" {

char* bindtextdomain(const char* domain, const char* directory)
{
    if (!domain) return nullptr;
    if (directory) directories[domain] = directory;
    const auto d = directories.find(domain);
    return d == directories.end() ? nullptr : const_cast<char*>(d->second.c_str());
}

// Every catalog's texts are given as they are stored, in UTF-8.
char* bind_textdomain_codeset(const char*, const char* codeset)
{
    return const_cast<char*>(codeset);
}

char* dgettext(const char* domain, const char* msgid)
{
    const auto d = directories.find(domain ? domain : "");
    if (!msgid || d == directories.end()) return const_cast<char*>(msgid);
    char lang[LANGUAGEMAX];
    language(lang);
    if (!*lang || std::strcmp(lang, "C") == 0 || std::strcmp(lang, "POSIX") == 0) return const_cast<char*>(msgid);
    Catalog& c = catalogs[d->first];
    if (c.directory != d->second || c.language != lang) load(c, d->second, lang, d->first);
    // msgfmt sorts the message ids, so a binary search finds one.
    uint32_t lo = 0, hi = c.bytes.empty() ? 0 : c.count;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        const char* original = entry(c, c.originals, mid);
        if (!original) break;
        const int order = std::strcmp(msgid, original);
        if (order == 0) {
            const char* translation = entry(c, c.translations, mid);
            return const_cast<char*>(translation && *translation ? translation : msgid);
        }
        if (order < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return const_cast<char*>(msgid);
}

}
