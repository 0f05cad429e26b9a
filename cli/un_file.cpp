#include "comandi.h"

#include <algorithm>

namespace velmora::cli {

namespace {

bool Tra(std::span<const std::string_view> opzioni, std::string_view a) {
    return std::find(opzioni.begin(), opzioni.end(), a) != opzioni.end();
}

} // namespace

bool ChiedeAiuto(Argomenti argomenti, std::span<const std::string_view> conValore) {
    for (std::size_t i = 0; i < argomenti.size() && argomenti[i] != "--"; ++i) {
        if (Tra(conValore, argomenti[i])) {
            ++i; // a value, never an option
        } else if (argomenti[i] == "--help" || argomenti[i] == "-h") {
            return true;
        }
    }
    return false;
}

ArgomentiFile LeggiArgomentiFile(Argomenti argomenti, std::span<const std::string_view> conValore,
                                 std::span<const std::string_view> semplici) {
    ArgomentiFile r;
    for (std::size_t i = 0; i < argomenti.size() && r.errore.empty(); ++i) {
        const std::string& a = argomenti[i];
        if (Tra(conValore, a) && i + 1 < argomenti.size()) {
            r.opzioni[a] = argomenti[++i];
        } else if (Tra(semplici, a)) {
            r.opzioni[a] = "";
        } else if (!a.empty() && a[0] == '-') {
            r.errore =
                Tra(conValore, a) ? "manca il valore di " + a : "opzione sconosciuta \"" + a + "\"";
        } else if (!r.file.empty()) {
            r.errore = "un solo file, per favore: \"" + a + "\" è di troppo";
        } else {
            r.file = a;
        }
    }
    if (r.errore.empty() && r.file.empty()) {
        r.errore = "manca il file MIDI";
    }
    return r;
}

} // namespace velmora::cli
