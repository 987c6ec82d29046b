// The table of the best kept games, and what the folder keeps: the games
// ranked by score, or by standing where this version cannot play them back,
// and the others pruned, the oldest first.
#include "games.h"
#include "main.h"

#include <algorithm>
#include <cstdio>

bool olderversion(const Keptgame& g)
{
    return g.standing.known && g.state != Keptgame::FINISHED && g.state != Keptgame::UNCHECKED;
}

int keptscore(const Keptgame& g)
{
    return g.state == Keptgame::FINISHED || !g.standing.known ? g.score : g.standing.score;
}

int keptframes(const Keptgame& g)
{
    return g.state == Keptgame::FINISHED || !g.standing.known ? g.frames : g.standing.frames;
}

std::vector<const Keptgame*> bestgames(const std::vector<Keptgame>& games, bool unchecked)
{
    std::vector<const Keptgame*> best;
    for (const Keptgame& g : games)
        if (g.state == Keptgame::FINISHED || g.standing.known || (unchecked && g.state == Keptgame::UNCHECKED))
            best.push_back(&g);
    // The higher score first, and of two alike the game played first.
    std::stable_sort(best.begin(), best.end(),
                     [](const Keptgame* a, const Keptgame* b) { return keptscore(*a) > keptscore(*b); });
    if (best.size() > (size_t)BESTGAMES) best.resize(BESTGAMES);
    return best;
}

void prunegames(const std::string& folder, std::vector<Keptgame>& games)
{
    // A game not yet checked may be among the best: it is kept as one.
    const std::vector<const Keptgame*> best = bestgames(games, true);
    std::vector<std::string> kept;
    for (const Keptgame* g : best) kept.push_back(g->name);
    const auto isbest = [&](const Keptgame& g) { return std::find(kept.begin(), kept.end(), g.name) != kept.end(); };
    long long bytes = 0;
    std::vector<bool> gone(games.size(), false);
    for (size_t i = 0; i < games.size(); i++) {
        const bool newest = i + LASTGAMES >= games.size();
        gone[i] = !isbest(games[i]) && !newest;
        if (!gone[i]) bytes += games[i].size;
    }
    for (size_t i = 0; i < games.size() && bytes > GAMESBYTES; i++) {
        if (gone[i] || isbest(games[i])) continue;
        gone[i] = true;
        bytes -= games[i].size;
    }
    std::vector<Keptgame> left;
    for (size_t i = 0; i < games.size(); i++)
        if (!gone[i] || !removegame(folder, games[i].name)) left.push_back(games[i]);
    games = left;
}

std::string gamedate(const std::string& name)
{
    // 2026-12-07_23-15-57...
    if (name.size() < 19 || name[10] != '_' || name[4] != '-' || name[13] != '-') return "";
    return name.substr(0, 10) + " " + name.substr(11, 2) + ":" + name.substr(14, 2);
}

std::string gamelength(int frames)
{
    const int seconds = frames / FRAMES_PER_SECOND;
    char text[24];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

bool fromelsewhere(const std::string& name)
{
    return name.find(ELSEWHERE) != std::string::npos;
}
