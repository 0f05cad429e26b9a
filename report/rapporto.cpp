#include "rapporto.h"

#include "formato.h"
#include "midi.h"
#include "piattaforma.h"
#include "testo.h"

namespace {

constexpr int kValore = 0;
constexpr int kEtichetta = 1;
constexpr int kNota = 2;
constexpr int kSpenta = 3;
constexpr std::string_view kAcapo = "\r\n";

std::string ConAcapo(std::string testo) {
    testo += kAcapo;
    return testo;
}

void ScriviRisultati(const Midi& m, Rapporto& r) {
    using velmora::DecodificaTesto;
    r.push_back({"Durata: ", kEtichetta});
    r.push_back({ConAcapo(FormattaDurata(static_cast<std::int32_t>(m.DurataSecondi()))), kValore});
    r.push_back({"Lunghezza: ", kEtichetta});
    r.push_back({ConAcapo(FormattaNumero(m.DimensioneFile())), kValore});
    r.push_back({"Tempo iniziale: ", kEtichetta});
    r.push_back({ConAcapo(DecodificaTesto(m.TempoIniziale())), kValore});
    r.push_back({"Battute per minuto medie: ", kEtichetta});
    r.push_back({ConAcapo(std::to_string(m.BattuteMedie())), kValore});
    r.push_back({"Tracce usate: ", kEtichetta});
    r.push_back({ConAcapo(std::to_string(m.TracceUsate())), kValore});
    const std::string tipo = m.TipoMidi();
    r.push_back({"Tipo midi: ", kEtichetta});
    r.push_back({tipo + " ", kValore});
    r.push_back({tipo == "0" ? "(monotraccia)" : tipo == "1" ? "(multitraccia)" : "", kEtichetta});
    r.push_back({std::string(kAcapo), kValore});
    r.push_back({"Testo: ", kEtichetta});
    r.push_back({DecodificaTesto(m.TipoTesto()), kNota});
    r.push_back({std::string(kAcapo), kValore});
    r.push_back({"Copyright: ", kEtichetta});
    r.push_back({ConAcapo(DecodificaTesto(m.TestoCopyright())), kValore});
    r.push_back({std::string(kAcapo), kValore});
}

void ScriviTracce(const Midi& m, Rapporto& r) {
    for (std::int32_t i = 0; i < m.ContaTracce(); ++i) {
        const bool attiva = m.TracciaAttiva(i) == 1;
        std::string numero = "Traccia ";
        numero += std::to_string(i) + " ";
        r.push_back({std::move(numero), attiva ? kEtichetta : kSpenta});
        const std::string nome = m.NomeTraccia(i);
        if (!nome.empty()) {
            std::string tra = "(";
            tra += velmora::DecodificaTesto(nome) + ") ";
            r.push_back({std::move(tra), attiva ? kNota : kSpenta});
        }
        r.push_back({": ", attiva ? kEtichetta : kSpenta});
        r.push_back({ConAcapo(m.Strumento(i)), attiva ? kValore : kSpenta});
    }
}

} // namespace

Rapporto CostruisciRapporto(std::string_view nome, std::string_view directory,
                            std::string_view percorso) {
    Midi midi(velmora::UnisciPercorso(percorso, nome));
    midi.Analizza();
    return CostruisciRapporto(midi, nome, directory, percorso);
}

Rapporto CostruisciRapporto(const Midi& midi, std::string_view nome, std::string_view directory,
                            std::string_view percorso) {
    Rapporto r;
    r.push_back({"Nome: ", kEtichetta});
    // Names are shown with their control characters as "?": they cannot break a line.
    r.push_back({ConAcapo(velmora::NomeSenzaControlli(nome)), kValore});
    // Only what the file names: a report without them is as it always was.
    for (const auto& [etichetta, valore] :
         {std::pair{"Titolo: ", midi.Titolo()}, std::pair{"Autore: ", midi.Autore()}}) {
        if (!valore.empty()) {
            r.push_back({etichetta, kEtichetta});
            r.push_back(
                {ConAcapo(velmora::NomeSenzaControlli(velmora::DecodificaTesto(valore))), kValore});
        }
    }
    r.push_back({"Directory: ", kEtichetta});
    r.push_back({velmora::NomeSenzaControlli(directory) + " - ", kValore});
    r.push_back({"Percorso: ", kEtichetta});
    r.push_back({ConAcapo(ConAcapo(velmora::NomeSenzaControlli(percorso))), kValore});
    if (midi.ContaTracce() == 0) {
        r.push_back({"File corrotto o impossibile da aprire", kEtichetta});
        return r;
    }
    ScriviRisultati(midi, r);
    ScriviTracce(midi, r);
    const std::string testo = midi.TestoCompleto();
    if (!testo.empty()) {
        r.push_back({ConAcapo("\r\nIn questa base è presente del testo"), kNota});
        r.push_back({velmora::DecodificaTesto(testo), kValore});
    }
    return r;
}

std::string TestoRapporto(const Rapporto& rapporto) {
    std::string testo;
    for (const Frammento& f : rapporto) {
        testo += f.testo;
    }
    return testo;
}
