// Where the scan's walk is in the folder tree: one level for the start folder and one
// for each folder below it down to the folder being visited.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class posizione {
public:
    struct livello {
        // 1-based number, among the folder's sub-folders, of the next sub-folder to
        // enter.
        std::int32_t contatore = 1;
        // The full paths of the folder's sub-folders as the folder list showed them
        // when the walk entered it. Kept, not read again, so that folders added or
        // removed meanwhile can neither make the walk skip a folder nor visit one
        // twice.
        std::vector<std::string> sottoCartelle;
    };

    // One level, for the start folder and its sub-folders.
    explicit posizione(std::vector<std::string> sottoCartelle);

    // The folder being visited's next sub-folder to enter; nullptr after the last.
    const std::string* Prossima() const;

    // A new level below the current one (the walk entered the next sub-folder).
    void Scendi(std::vector<std::string> sottoCartelle);

    // Back to the level above, whose counter moves on to its next sub-folder. Does
    // nothing on the start folder's level.
    void Risali();

    // The next sub-folder is passed over (it could not be entered).
    void Salta() { ++livelli.back().contatore; }

    // Number of levels, 1 for the start folder alone.
    std::int32_t Profondita() const { return static_cast<std::int32_t>(livelli.size()); }

private:
    std::vector<livello> livelli; // front: the start folder; back: the current one
};
