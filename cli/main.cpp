// velmora-cli: the command-line tool on the same core as the desktop program.
// The first argument names the subcommand; the rest belong to it.
#include "comandi.h"
#include "piattaforma.h"

#include <array>
#include <iostream>
#include <vector>

namespace {

using velmora::cli::Comando;

// New subcommands are added here, each implemented in its own file.
constexpr std::array kComandi = {
    Comando{"analyze", "analizza file MIDI e ne stampa il rapporto", velmora::cli::Analyze},
    Comando{"list", "cataloga una cartella e ne scrive l'elenco", velmora::cli::Lista},
    Comando{"render", "suona un file MIDI in un file WAV", velmora::cli::Render},
    Comando{"play", "suona un file MIDI sull'uscita audio", velmora::cli::Play},
    Comando{"lyrics", "scrive le parole di un file MIDI, anche con i tempi (LRC)",
            velmora::cli::Lyrics},
    Comando{"duplicates", "trova i file identici e quelli con la stessa musica",
            velmora::cli::Duplicates},
    Comando{"search", "cerca nel catalogo salvato per nome, cartella e testo",
            velmora::cli::Search},
};

void Uso(std::ostream& os) {
    os << "Uso: velmora-cli COMANDO [OPZIONI] [ARGOMENTI]\n\nComandi:\n";
    for (const Comando& c : kComandi) {
        os << "  " << c.nome << "  " << c.descrizione << "\n";
    }
    os << "\n\"velmora-cli COMANDO --help\" descrive un comando;"
          " \"velmora-cli --version\" stampa la versione.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> argomenti = velmora::ArgomentiUtf8(argc, argv);
    if (!argomenti.empty()) {
        argomenti.erase(argomenti.begin()); // the program's own name
    }
    // The list is Windows-1252 with CR LF already, and analyze's report keeps its own
    // line ends.
    velmora::UscitaBinaria();
    if (argomenti.empty()) {
        std::cerr << "velmora-cli: manca il comando (vedi velmora-cli --help)\n";
        return velmora::cli::kErroreUso;
    }
    if (argomenti[0] == "--help" || argomenti[0] == "-h") {
        Uso(std::cout);
        return velmora::cli::kRiuscito;
    }
    if (argomenti[0] == "--version") {
        std::cout << "velmora-cli " VELMORA_VERSIONE "\n";
        return velmora::cli::UscitaScritta(std::cout, std::cerr, "--version")
                   ? velmora::cli::kRiuscito
                   : velmora::cli::kNonRiuscito;
    }
    for (const Comando& c : kComandi) {
        if (argomenti[0] == c.nome) {
            return c.esegui(velmora::cli::Argomenti(argomenti).subspan(1), std::cout, std::cerr);
        }
    }
    std::cerr << "velmora-cli: comando sconosciuto \"" << argomenti[0]
              << "\" (vedi velmora-cli --help)\n";
    return velmora::cli::kErroreUso;
}
