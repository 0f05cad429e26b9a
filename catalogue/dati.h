// The catalogue: one entry per MIDI file found by a scan, in scan order, with the
// counts, totals and longest lengths that the views and the list export need.
// Every reader works on the entry under the one cursor.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A text that many entries hold alike: every file of a folder has the same folder path
// and folder name, so they share one copy (a catalogue of 100,000 files keeps one per
// folder, not one per file). The copy never changes; assigning gives the entry its own.
class TestoCondiviso {
public:
    TestoCondiviso() = default;
    TestoCondiviso& operator=(const std::string& t) {
        testo = std::make_shared<const std::string>(t);
        return *this;
    }
    operator const std::string&() const { return testo ? *testo : Vuoto(); }

private:
    static const std::string& Vuoto() {
        static const std::string vuoto;
        return vuoto;
    }
    std::shared_ptr<const std::string> testo;
};

class dati {
public:
    // One catalogue entry. Texts are UTF-8.
    class elemento {
    public:
        TestoCondiviso directory; // the folder's own name
        std::string nome;         // file name with extension
        TestoCondiviso percorso;  // the folder's full path
        std::string tempo;     // time signature text
        std::string copyright;
        std::string tipo;        // MIDI type text
        std::string testo;       // kind of text; empty when the file has none
        std::int32_t durata = 0; // whole seconds; 0 marks a corrupt file
        std::int32_t lunghezza = 0;
        std::int32_t bpm = 0;
        std::int32_t tracce = 0;
        std::int32_t durataRiproduzione = 0; // whole seconds, as the player times the file
        // Title, author and language (titoli.h), decoded: one text for the three, empty
        // when the file names none of them, so that most entries pay nothing for them.
        std::string identita;
        // What finds duplicates (impronta.h); none without detailed analysis.
        std::optional<std::uint64_t> hashByte;
        std::optional<std::uint64_t> impronta;
        elemento* successivo = nullptr;

        // The entry's values as the grid, the report and the export show them.
        const std::string& Directory() const { return directory; }
        const std::string& Nome() const { return nome; }
        const std::string& Percorso() const { return percorso; }
        std::string Durata() const;
        const std::string& Tempo() const { return tempo; }
        std::string Bpm() const { return std::to_string(bpm); }
        std::string Tracce() const { return std::to_string(tracce); }
        std::string Lunghezza() const;
        const std::string& Copyright() const { return copyright; }
        const std::string& Tipo() const { return tipo; }
        const std::string& Testo() const { return testo; }
        std::int32_t LunghezzaByte() const { return lunghezza; }
        bool Corrotto() const { return durata == 0; }
        // Text counts only when the analysis succeeded: a failed one gives "?" or "-"
        // as its text kind (and as its MIDI type, which tells the two apart).
        bool ConTesto() const { return !testo.empty() && tipo != "?" && tipo != "-"; }
        std::string_view Titolo() const { return ParteIdentita(0); }
        std::string_view Autore() const { return ParteIdentita(1); }
        std::string_view Lingua() const { return ParteIdentita(2); }
        // The three as bytes from the file.
        void ImpostaIdentita(std::string_view titolo, std::string_view autore,
                             std::string_view lingua);

    private:
        std::string_view ParteIdentita(int parte) const;
    };

    dati() = default;
    dati(const dati&) = delete;
    dati& operator=(const dati&) = delete;

    void Svuota();

    // Appends an entry. directory, nome and percorso are UTF-8; the four texts of
    // the analysis are bytes from the file and are decoded here.
    void Aggiungi(const std::string& directory, const std::string& nome,
                  const std::string& percorso, std::int32_t durata, std::int32_t lunghezza,
                  const std::string& tempo, std::int32_t bpm, std::int32_t tracce,
                  const std::string& copyright, const std::string& tipo, const std::string& testo);
    void ContaCorrotto() { ++numeroCorrotti; }

    // Cursor moves over all entries, entries with text and corrupt entries.
    void Primo() { corrente = primo; }
    void Prossimo();
    void PrimoConTesto();
    void ProssimoConTesto();
    void PrimoCorrotto();
    void ProssimoCorrotto();

    // The entry under the cursor, or none.
    const elemento* Corrente() const { return corrente; }
    // Puts the cursor on an entry of this catalogue (found some other way than by
    // walking a filter), for the readers and the renaming operations.
    void Posiziona(const elemento* voce) { corrente = const_cast<elemento*>(voce); }
    // The first entry (then follow successivo) and the last, leaving the cursor alone.
    const elemento* PrimoElemento() const { return primo; }
    elemento* Ultimo() { return ultimo; }

    // Readers of the current entry; each requires one.
    std::string Directory() const { return corrente->Directory(); }
    std::string Nome() const { return corrente->Nome(); }
    std::string Percorso() const { return corrente->Percorso(); }
    std::string Durata() const { return corrente->Durata(); }
    std::string Tempo() const { return corrente->Tempo(); }
    std::string Bpm() const { return corrente->Bpm(); }
    std::string Tracce() const { return corrente->Tracce(); }
    std::string Lunghezza() const { return corrente->Lunghezza(); }
    std::string Copyright() const { return corrente->Copyright(); }
    std::string Tipo() const { return corrente->Tipo(); }
    std::string Testo() const { return corrente->Testo(); }
    std::int32_t LunghezzaByte() const { return corrente->LunghezzaByte(); }

    // Renaming changes the current entry in place.
    void CambiaNome(const std::string& t);
    void CambiaDirectory(const std::string& t);
    void CambiaPercorso(const std::string& t);

    std::int32_t NumeroFile() const { return numeroFile; }
    std::int64_t TotaleByte() const { return totaleByte; }
    std::int32_t NumeroCorrotti() const { return numeroCorrotti; }
    std::int32_t NumeroConTesto() const { return numeroConTesto; }
    std::int32_t MaxPercorso() const { return maxPercorso; }
    std::int32_t MaxDirectory() const { return maxDirectory; }
    std::int32_t MaxNome() const { return maxNome; }

private:
    std::int32_t numeroFile = 0;
    std::int32_t maxPercorso = 0; // kept across emptying: longest path since creation
    std::int32_t maxDirectory = 0;
    std::int32_t maxNome = 0;
    std::int64_t totaleByte = 0;
    std::int32_t numeroCorrotti = 0;
    std::int32_t numeroConTesto = 0;
    elemento* primo = nullptr;
    elemento* corrente = nullptr;
    elemento* ultimo = nullptr;
    // Storage of the entries; the links above thread them in scan order.
    std::deque<elemento> nodi;
};
