#include "stampa_file.h"

#include "formato.h"
#include "scrittura.h"
#include "testo.h"

#include <cstdint>
#include <ctime>
#include <utility>

namespace {

constexpr char kFineRiga[] = "\r\n";

std::int64_t Lunghezza(const std::string& t) {
    return static_cast<std::int64_t>(velmora::Caratteri(t));
}

// Columns 4 to 9: right-aligned in a field of `campo` characters (0: not aligned),
// followed by three spaces when a later column follows.
struct Allineata {
    Colonna colonna;
    std::string (dati::*valore)() const;
    int campo;
};

constexpr Allineata kAllineate[] = {
    {Colonna::Durata, &dati::Durata, 5}, {Colonna::Byte, &dati::Lunghezza, 7},
    {Colonna::Tempo, &dati::Tempo, 4},   {Colonna::Bpm, &dati::Bpm, 3},
    {Colonna::Tracce, &dati::Tracce, 2}, {Colonna::Tipo, &dati::Tipo, 0},
};

// Pieces of about this size go out as the list is made.
constexpr std::size_t kPezzo = 1 << 16;

// Makes the list in Windows-1252, each text converted as it is written, and passes it
// on piece by piece: the list is never held whole, nor in a second encoding.
class Lista {
public:
    Lista(dati& catalogo, const OpzioniLista& opzioni,
          const std::function<void(std::string_view)>& scrivi_)
        : d(catalogo), o(opzioni), ultima(opzioni.UltimaColonna()), scrivi(scrivi_) {
        out.reserve(2 * kPezzo);
    }

    void Scrivi(Data data) {
        Intestazione(data);
        Voci();
        scrivi(out);
    }

private:
    // UTF-8 text into the list.
    void Testo(std::string_view testo) { velmora::AggiungiAnsi(out, testo); }

    void Riga(std::string_view testo) {
        Testo(testo);
        out += kFineRiga;
    }

    void Spazi(std::int64_t n) {
        if (n > 0) {
            out.append(static_cast<std::size_t>(n), ' ');
        }
    }

    // Padding after column c, written only when a later column follows on the line.
    void Dopo(Colonna c, std::int64_t spazi) {
        if (ultima > static_cast<int>(c)) {
            Spazi(spazi);
        }
    }

    void Intestazione(Data data) {
        Riga("Questa lista è stata generata il " + std::to_string(data.giorno) + "/" +
             std::to_string(data.mese) + "/" + std::to_string(data.anno));
        Riga("Numero totale midi: " + FormattaNumero(d.NumeroFile()));
        Riga("Occupazione totale in byte: " + FormattaNumero(d.TotaleByte()));
        if (d.NumeroConTesto() != 0) {
            Riga("Numero di midi che hanno incluso il testo: " +
                 std::to_string(d.NumeroConTesto()));
        }
        if (d.NumeroCorrotti() != 0) {
            Riga("Numero di midi che non è stato possibile aprire: " +
                 std::to_string(d.NumeroCorrotti()));
            Riga("(I midi non aperti hanno come tempo: 0:00)");
        }
        Riga("");
    }

    void Voci() {
        std::int32_t conta = 0;
        std::int64_t byte = 0;
        bool gruppoAperto = true;
        d.Primo();
        std::string gruppo = d.NumeroFile() > 0 ? d.Directory() : std::string();
        for (std::int32_t i = 0; i < d.NumeroFile(); ++i) {
            if (o.modo == Modo::A) {
                PercorsoECartella();
            } else if (gruppoAperto) {
                TestaGruppo();
                gruppoAperto = false;
            }
            Colonne();
            if (ultima > 1) {
                out += kFineRiga;
            }
            if (out.size() >= kPezzo) {
                scrivi(out);
                out.clear();
            }
            ++conta;
            byte += d.LunghezzaByte();
            d.Prossimo();
            if (o.modo == Modo::B && (d.Corrente() == nullptr || d.Directory() != gruppo)) {
                TotaliGruppo(conta, byte);
                conta = 0;
                byte = 0;
                gruppoAperto = true;
                if (d.Corrente() != nullptr) {
                    gruppo = d.Directory();
                }
            }
        }
    }

    void PercorsoECartella() {
        if (o.Scelta(Colonna::Percorso)) {
            const std::string percorso = d.Percorso();
            Testo(velmora::NomeSenzaControlli(percorso));
            Dopo(Colonna::Percorso, d.MaxPercorso() + 2 - Lunghezza(percorso));
        }
        if (o.Scelta(Colonna::Directory)) {
            const std::string cartella = d.Directory();
            Testo(velmora::NomeSenzaControlli(cartella));
            Dopo(Colonna::Directory, d.MaxDirectory() + 2 - Lunghezza(cartella));
        }
    }

    void TestaGruppo() {
        const bool cartella = o.Scelta(Colonna::Directory);
        const bool percorso = o.Scelta(Colonna::Percorso);
        if (cartella) {
            out += "- Directory: ";
            Testo(velmora::NomeSenzaControlli(d.Directory()));
        }
        if (cartella && percorso) {
            out += ' ';
        }
        if (percorso) {
            out += "- Percorso: ";
            Testo(velmora::NomeSenzaControlli(d.Percorso()));
        }
        out += kFineRiga;
    }

    void Colonne() {
        if (o.Scelta(Colonna::Nome)) {
            const std::string nome = d.Nome();
            Testo(velmora::NomeSenzaControlli(velmora::SenzaUltimiCaratteri(nome, 4))); // no ".mid"
            Dopo(Colonna::Nome, d.MaxNome() + 2 - Lunghezza(nome));
        }
        for (const Allineata& a : kAllineate) {
            if (o.Scelta(a.colonna)) {
                const std::string valore = (d.*a.valore)();
                Spazi(a.campo - Lunghezza(valore));
                Testo(valore);
                Dopo(a.colonna, 3);
            }
        }
        if (o.Scelta(Colonna::Testo)) {
            const std::string testo = d.Testo();
            Testo(testo);
            Dopo(Colonna::Testo, 23 - Lunghezza(testo));
        }
        if (o.Scelta(Colonna::Copyright)) {
            Testo(d.Copyright());
        }
    }

    void TotaliGruppo(std::int32_t conta, std::int64_t byte) {
        Riga("Numero totale di midi: " + std::to_string(conta));
        Riga("Totale in byte: " + FormattaNumero(byte));
        Riga("Lunghezza media di un midi: " + FormattaNumero(byte / conta));
        Riga("");
        Riga("");
    }

    dati& d;
    const OpzioniLista& o;
    const int ultima;
    const std::function<void(std::string_view)>& scrivi;
    std::string out; // what is not passed on yet
};

} // namespace

int OpzioniLista::UltimaColonna() const {
    for (int n = static_cast<int>(colonne.size()); n > 0; --n) {
        if (colonne[static_cast<std::size_t>(n) - 1]) {
            return n;
        }
    }
    return 0;
}

Data Oggi() {
    const std::time_t adesso = std::time(nullptr);
    const std::tm* locale = std::localtime(&adesso);
    return {locale->tm_mday, locale->tm_mon + 1, locale->tm_year + 1900};
}

std::string NomeProposto(Data data) {
    return "Elenco" + std::to_string(data.giorno) + "." + std::to_string(data.mese) + "." +
           std::to_string(data.anno) + ".txt";
}

void ProduciLista(dati& catalogo, const OpzioniLista& opzioni, Data data,
                  const std::function<void(std::string_view)>& scrivi) {
    Lista(catalogo, opzioni, scrivi).Scrivi(data);
}

Esito StampaFile(dati& catalogo, const OpzioniLista& opzioni, Data data,
                 const std::string& nomeFile) {
    ScritturaFile scrittura(nomeFile);
    if (Esito aperto = scrittura.Apri(); !aperto) {
        return aperto;
    }
    ProduciLista(catalogo, opzioni, data, [&](std::string_view pezzo) { scrittura.Scrivi(pezzo); });
    return scrittura.Concludi();
}
