// Where the scan's walk is in the folder tree: one level for the start folder and one
// for each folder below it down to the folder being visited.
#pragma once

#include <cstdint>
#include <vector>

class posizione {
public:
    struct livello {
        // 1-based number, among the folder's sub-folders as the folder list shows
        // them, of the next sub-folder to enter.
        std::int32_t contatore = 1;
    };

    // One level, for the start folder.
    posizione() = default;

    // The counter of the folder being visited.
    std::int32_t Contatore() const { return livelli.back().contatore; }

    // A new level below the current one (the walk entered a sub-folder).
    void Scendi() { livelli.emplace_back(); }

    // Back to the level above, whose counter moves on to its next sub-folder. Does
    // nothing on the start folder's level.
    void Risali();

    // Number of levels, 1 for the start folder alone.
    std::int32_t Profondita() const { return static_cast<std::int32_t>(livelli.size()); }

private:
    std::vector<livello> livelli{livello{}}; // front: the start folder; back: the current one
};
