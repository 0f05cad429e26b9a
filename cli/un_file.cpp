#include "comandi.h"

#include <algorithm>

namespace velmora::cli {

bool ChiedeAiuto(Argomenti argomenti) {
    return std::any_of(argomenti.begin(), argomenti.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

ArgomentiFile LeggiArgomentiFile(Argomenti argomenti,
                                 std::initializer_list<std::string_view> conValore,
                                 std::initializer_list<std::string_view> semplici) {
    const auto tra = [](std::initializer_list<std::string_view> opzioni, const std::string& a) {
        return std::find(opzioni.begin(), opzioni.end(), a) != opzioni.end();
    };
    ArgomentiFile r;
    for (std::size_t i = 0; i < argomenti.size() && r.errore.empty(); ++i) {
        const std::string& a = argomenti[i];
        if (tra(conValore, a) && i + 1 < argomenti.size()) {
            r.opzioni[a] = argomenti[++i];
        } else if (tra(semplici, a)) {
            r.opzioni[a] = "";
        } else if (!a.empty() && a[0] == '-') {
            r.errore =
                tra(conValore, a) ? "manca il valore di " + a : "opzione sconosciuta \"" + a + "\"";
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
