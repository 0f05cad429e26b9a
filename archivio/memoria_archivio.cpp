#include "memoria_archivio.h"

#include "piattaforma.h"

#include <mutex>
#include <unordered_map>
#include <utility>

namespace velmora::archivio {

class MemoriaArchivio::CartellaArchivio : public MemoriaScansione::Cartella {
public:
    CartellaArchivio(MemoriaArchivio& memoria_, std::string percorso_,
                     const std::vector<FileDellaCartella>& file_,
                     std::vector<std::optional<AnalisiFile>> note_, std::vector<std::int64_t> via_)
        : memoria(memoria_), percorso(std::move(percorso_)), file(file_), letto(Adesso()),
          note(std::move(note_)), via(std::move(via_)) {}

    ~CartellaArchivio() override { Scrivi(std::exchange(daScrivere, {}), std::move(via)); }

    std::optional<AnalisiFile> Nota(std::size_t i) override {
        return i < note.size() ? std::exchange(note[i], std::nullopt) : std::nullopt;
    }

    // Called by the threads that analyse, several at once.
    void Analizzato(std::size_t i, AnalisiFile& a) override {
        if (i >= file.size()) {
            return;
        }
        const FileDellaCartella& f = file[i];
        // Not a file that could not be read: its permissions may change without its
        // time. A file changed after it was listed is stored with its older time,
        // which the next scan finds changed.
        if (!a.hashByte) {
            return;
        }
        std::string tracce = std::exchange(a.nomiTracce, {});
        std::string testo = std::exchange(a.testoCompleto, {});
        std::vector<FileLetto> pieni;
        {
            const std::lock_guard l(m);
            FileLetto& letta =
                daScrivere.emplace_back(FileLetto{f.nome, f.dimensione, f.modifica, letto, a});
            letta.analisi.nomiTracce = std::move(tracce);
            letta.analisi.testoCompleto = std::move(testo);
            if (daScrivere.size() >= kFilePerTransazione) {
                pieni = std::exchange(daScrivere, {});
            }
        }
        if (!pieni.empty()) {
            Scrivi(std::move(pieni), {});
        }
    }

private:
    void Scrivi(std::vector<FileLetto> daScrivereOra, std::vector<std::int64_t> viaOra) {
        if (daScrivereOra.empty() && viaOra.empty()) {
            return;
        }
        const std::lock_guard l(memoria.m);
        memoria.archivio.Scrivi(percorso, daScrivereOra, viaOra);
    }

    MemoriaArchivio& memoria;
    const std::string percorso;
    const std::vector<FileDellaCartella> file;
    const std::int64_t letto; // before any file of the listing is read
    std::vector<std::optional<AnalisiFile>> note;
    std::vector<std::int64_t> via; // stored files no longer listed
    std::mutex m;                  // guards daScrivere
    std::vector<FileLetto> daScrivere;
};

MemoriaArchivio::MemoriaArchivio(Archivio& a, bool senza) : archivio(a), senzaCache(senza) {}

std::unique_ptr<MemoriaScansione::Cartella>
MemoriaArchivio::Apri(const std::string& cartella, const std::vector<FileDellaCartella>& file) {
    std::vector<VoceSalvata> salvate;
    {
        const std::lock_guard l(m);
        archivio.TogliSparite(cartella);
        salvate = archivio.Cartella(cartella);
        if (!archivio.Disponibile()) {
            return nullptr;
        }
    }
    std::unordered_map<std::string_view, VoceSalvata*> perNome;
    for (VoceSalvata& v : salvate) {
        perNome.emplace(v.nome, &v);
    }
    std::vector<std::optional<AnalisiFile>> note(file.size());
    for (std::size_t i = 0; i < file.size(); ++i) {
        const auto trovata = perNome.find(file[i].nome);
        if (trovata == perNome.end()) {
            continue;
        }
        VoceSalvata& v = *trovata->second;
        if (!senzaCache && v.Vale(file[i].dimensione, file[i].modifica)) {
            note[i] = std::move(v.analisi);
        }
        perNome.erase(trovata);
    }
    std::vector<std::int64_t> via;
    for (const auto& [nome, v] : perNome) {
        via.push_back(v->id);
    }
    return std::make_unique<CartellaArchivio>(*this, cartella, file, std::move(note),
                                              std::move(via));
}

std::string MemoriaArchivio::Avviso() const {
    const std::lock_guard l(m);
    return archivio.Avviso();
}

} // namespace velmora::archivio
