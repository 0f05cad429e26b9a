// The subcommands of velmora-cli. Each one lives in its own file and has this shape:
// it receives the arguments after its name, writes to out and err, and returns the
// exit status.
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

class dati;

namespace velmora::cli {

using Argomenti = std::span<const std::string>;

struct Comando {
    std::string_view nome;
    std::string_view descrizione; // one line for the general help
    int (*esegui)(Argomenti argomenti, std::ostream& out, std::ostream& err);
};

// Exit statuses shared by the subcommands.
constexpr int kRiuscito = 0;
constexpr int kNonRiuscito = 1;
constexpr int kErroreUso = 2;

// Flushes out; when what was written did not all get there (a full disk, a closed
// output) says so on err for comando and returns false.
inline bool UscitaScritta(std::ostream& out, std::ostream& err, std::string_view comando) {
    if (out.flush()) {
        return true;
    }
    err << "velmora-cli " << comando << ": errore di scrittura sullo standard output\n";
    return false;
}

// Whether an argument before "--" asks for the command's help ("--help" or "-h"); the
// value of an option in conValore is taken as it is, never as a request for help.
bool ChiedeAiuto(Argomenti argomenti, std::span<const std::string_view> conValore);

// The arguments of a command on one file (un_file.cpp): the file and the options given,
// each with its value; the options in conValore take the next argument, those in semplici
// none. On a usage error errore holds its message.
struct ArgomentiFile {
    std::string file;
    std::map<std::string, std::string, std::less<>> opzioni;
    std::string errore;
};
ArgomentiFile LeggiArgomentiFile(Argomenti argomenti, std::span<const std::string_view> conValore,
                                 std::span<const std::string_view> semplici);

// velmora-cli analyze [--json] FILE...
int Analyze(Argomenti argomenti, std::ostream& out, std::ostream& err);

// velmora-cli list DIR [--no-subfolders] [--no-analysis] [--mode A|B] [--columns N,...]
//                    [--date D/M/YYYY] [--format txt|csv|json] [-o FILE] [--db FILE]
//                    [--no-cache]
int Lista(Argomenti argomenti, std::ostream& out, std::ostream& err);

// velmora-cli render FILE -o OUT.wav [--soundfont SF2] [--rate HZ] [--max-seconds N]
int Render(Argomenti argomenti, std::ostream& out, std::ostream& err);
// velmora-cli play FILE [--soundfont SF2]
int Play(Argomenti argomenti, std::ostream& out, std::ostream& err);
// velmora-cli lyrics FILE [--lrc] [-o OUT]
int Lyrics(Argomenti argomenti, std::ostream& out, std::ostream& err);
// velmora-cli duplicates DIR [--no-subfolders] [--json] [--db FILE] [--no-cache]
int Duplicates(Argomenti argomenti, std::ostream& out, std::ostream& err);
// velmora-cli search QUERY... [--db FILE] [--json] [--folder DIR]
int Search(Argomenti argomenti, std::ostream& out, std::ostream& err);

// How a scan uses the stored catalogue: the database (the user's when not given), and
// whether every file must be read again (--no-cache).
struct OpzioniCatalogo {
    std::optional<std::string> db;
    bool senzaCache = false;

    // Takes --db FILE (with its value at argomenti[i + 1], i moved past it) or
    // --no-cache; false for any other argument.
    bool Leggi(Argomenti argomenti, std::size_t& i);
};

// Fills catalogo from cartella as "Start" does, with a progress line on a terminal;
// with analysis, files unchanged since the stored catalogue has them are taken from
// it, and the others stored. Returns the exit status when the command must end
// (reported on err as comando). Otherwise the catalogue is filled; folders that could
// not be read are reported on err and set incompleto, which makes the command end with
// status 1. A stored catalogue that cannot be used is said once on err.
std::optional<int> Cataloga(const std::string& cartella, bool analisi, bool sottoCartelle,
                            const OpzioniCatalogo& opzioni, dati& catalogo, std::ostream& err,
                            std::string_view comando, bool& incompleto);

} // namespace velmora::cli
