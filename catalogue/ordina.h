// Ordering of a folder's MIDI files for the scan: a top-down merge sort on keys
// lowered as Windows' ANSI lower-casing does, compared as UTF-8 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One file of the folder being sorted.
struct datisort {
    std::int32_t indice; // the file's row in the file list
    // The name less its last four characters (".mid"), then "   ", already lowered by
    // MinuscoloAnsi: lowering is a pure function of the key, so comparing lowered keys
    // once made gives the order of lowering them at every comparison.
    std::string chiave;
};

// UTF-8 text with A-Z, À-Þ (but not ×), Š, Œ, Ž and Ÿ made lower case, as Windows'
// ANSI lower-casing does; every other byte is kept as it is.
std::string MinuscoloAnsi(std::string_view utf8);

// The record of file row indice named nome (counting characters, not bytes).
datisort DatiSort(std::int32_t indice, std::string_view nome);

// Sorts all records: OrdinaParte over the whole array. Not stable: of two equal keys
// the one from the right half of each merge comes first.
void Ordina(std::vector<datisort>& record);

// Sorts records lo..hi (inclusive): both halves, then Fondi.
void OrdinaParte(std::vector<datisort>& record, std::int32_t lo, std::int32_t hi);

// Merges the sorted runs lo..mid and mid+1..hi: the left record goes first only when
// its key is less than the right one's (bytes as unsigned values, a proper prefix
// being the lesser); on equal keys the right record goes first.
void Fondi(std::vector<datisort>& record, std::int32_t lo, std::int32_t mid, std::int32_t hi);
