// Duplicate groups: byte-built catalogues, and a test set made from the corpus by
// saving every song again in the ways other programs do.
#include "analisi_file.h"
#include "cartella_temporanea.h"
#include "costruttore_midi.h"
#include "doppioni.h"
#include "passo.h"
#include "piattaforma.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <optional>
#include <set>

namespace fs = std::filesystem;
using prova::Bytes;

namespace {

// One event with its absolute tick and its bytes, status byte included.
struct EventoSmf {
    std::uint32_t tick = 0;
    Bytes dati;
    bool Meta(std::uint8_t tipo) const {
        return dati.size() > 1 && dati[0] == 0xFF && dati[1] == tipo;
    }
};

struct Smf {
    std::uint16_t formato = 1;
    std::uint16_t divisione = 96;
    std::vector<std::vector<EventoSmf>> tracce;
};

// The events of one track chunk with their bytes, read by the one event walk under the
// player's rules; a fault, a data byte of 0x80 or more, or a tick past 32 bits makes
// the file one these tests do not save again.
class Registratore {
public:
    explicit Registratore(std::vector<EventoSmf>& e) : eventi(&e) {}

    void Canale(std::uint64_t tick, std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
        Bytes dati{status, d1};
        if (status >> 4 != 0xC && status >> 4 != 0xD) {
            dati.push_back(d2);
        }
        sano = sano && d1 < 0x80 && d2 < 0x80;
        Aggiungi(tick, std::move(dati));
    }
    bool Altro(velmora::passo::Cursore& c, std::uint64_t tick, std::uint8_t status) {
        const std::uint64_t inizio = c.Posizione();
        if (status == 0xFF) {
            chiusa = c.Byte() == 0x2F;
        } else if (status != 0xF0 && status != 0xF7) {
            return false;
        }
        if (c.Prendi(c.Vlq<true>()) == nullptr) {
            return false;
        }
        Bytes dati{status};
        dati.insert(dati.end(), c.Dati() + inizio, c.Dati() + c.Posizione());
        Aggiungi(tick, std::move(dati));
        return !chiusa;
    }
    bool Sana() const { return sano && chiusa; }

private:
    void Aggiungi(std::uint64_t tick, Bytes dati) {
        sano = sano && tick <= 0xFFFFFFFF;
        eventi->push_back({static_cast<std::uint32_t>(tick), std::move(dati)});
    }

    std::vector<EventoSmf>* eventi;
    bool sano = true;
    bool chiusa = false;
};

// Well-formed files only: the declared chunks, each closed by its end of track.
std::optional<Smf> LeggiSmf(const Bytes& b) {
    velmora::passo::Cursore c(b);
    if (!c.Segue("MThd")) {
        return std::nullopt;
    }
    c.Salta(4);
    if (c.Numero(4) != 6) {
        return std::nullopt;
    }
    Smf smf;
    smf.formato = static_cast<std::uint16_t>(c.Numero(2));
    const std::uint32_t n = c.Numero(2);
    smf.divisione = static_cast<std::uint16_t>(c.Numero(2));
    for (std::uint32_t t = 0; t < n; ++t) {
        if (!c.Segue("MTrk")) {
            return std::nullopt;
        }
        c.Salta(4);
        const std::uint32_t lunghezza = c.Numero(4);
        const std::uint64_t fine = c.Posizione() + lunghezza;
        Registratore r(smf.tracce.emplace_back());
        std::uint64_t tick = 0;
        velmora::passo::Traccia<velmora::passo::RegolePlayer>(c, fine, tick, r);
        if (c.Fallito() || !r.Sana() || c.Posizione() != fine) {
            return std::nullopt;
        }
    }
    return smf;
}

// Writes the file, with running status for channel messages or without it.
Bytes ScriviSmf(const Smf& smf, bool running) {
    Bytes out = prova::Intestazione(smf.formato, static_cast<std::uint16_t>(smf.tracce.size()),
                                    smf.divisione);
    for (const auto& eventi : smf.tracce) {
        Bytes corpo;
        std::uint32_t tick = 0;
        std::uint8_t corrente = 0;
        for (const EventoSmf& e : eventi) {
            const Bytes delta = prova::Vlq(e.tick - tick);
            corpo.insert(corpo.end(), delta.begin(), delta.end());
            tick = e.tick;
            const bool salta = running && e.dati[0] == corrente;
            corpo.insert(corpo.end(), e.dati.begin() + (salta ? 1 : 0), e.dati.end());
            corrente = e.dati[0] < 0xF0 ? e.dati[0] : 0;
        }
        const Bytes chunk = prova::Traccia(corpo);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

EventoSmf MetaSmf(std::uint32_t tick, std::uint8_t tipo, std::string_view testo) {
    const Bytes evento = prova::Meta(0, tipo, testo);
    return {tick, Bytes(evento.begin() + 1, evento.end())}; // without the delta
}

void Togli(std::vector<EventoSmf>& eventi, std::initializer_list<std::uint8_t> tipi) {
    std::erase_if(eventi, [&](const EventoSmf& e) {
        return std::any_of(tipi.begin(), tipi.end(), [&](auto t) { return e.Meta(t); });
    });
}

// The same music saved again, in each of the ways the test set covers.
std::map<std::string, Bytes> Varianti(const Smf& smf) {
    std::map<std::string, Bytes> v;
    v["senza running status"] = ScriviSmf(smf, false);
    v["con running status"] = ScriviSmf(smf, true);

    Smf zero = smf;
    zero.formato = 0;
    std::vector<EventoSmf> tutti;
    std::uint32_t ultimo = 0;
    for (const auto& t : smf.tracce) {
        for (const EventoSmf& e : t) {
            ultimo = std::max(ultimo, e.tick);
            if (!e.Meta(0x2F)) {
                tutti.push_back(e);
            }
        }
    }
    std::stable_sort(tutti.begin(), tutti.end(),
                     [](const EventoSmf& a, const EventoSmf& b) { return a.tick < b.tick; });
    tutti.push_back(MetaSmf(ultimo, 0x2F, ""));
    zero.tracce = {tutti};
    v["formato 0"] = ScriviSmf(zero, true);

    Smf riordinato = smf;
    std::reverse(riordinato.tracce.begin() + 1, riordinato.tracce.end());
    for (std::size_t i = 0; i < riordinato.tracce.size(); ++i) {
        Togli(riordinato.tracce[i], {0x03});
        riordinato.tracce[i].insert(riordinato.tracce[i].begin(),
                                    MetaSmf(0, 0x03, "Rinominata " + std::to_string(i)));
    }
    v["tracce riordinate e rinominate"] = ScriviSmf(riordinato, true);

    Smf testi = smf;
    for (auto& t : testi.tracce) {
        Togli(t, {0x01, 0x02, 0x05, 0x06, 0x07});
    }
    auto& prima = testi.tracce.front();
    prima.insert(prima.begin(),
                 {MetaSmf(0, 0x02, "(C) un altro editore"), MetaSmf(0, 0x01, "@KMIDI KARAOKE FILE"),
                  MetaSmf(0, 0x06, "Strofa"), MetaSmf(0, 0x21, "\x01"), MetaSmf(0, 0x7F, "xyz")});
    v["testi e meta cambiati"] = ScriviSmf(testi, true);

    Smf doppia = smf;
    doppia.divisione = static_cast<std::uint16_t>(smf.divisione * 2);
    for (auto& t : doppia.tracce) {
        for (EventoSmf& e : t) {
            e.tick *= 2;
        }
    }
    v["divisione doppia"] = ScriviSmf(doppia, true);
    return v;
}

// One note-on with velocity above 0 a semitone higher; none when there is no note.
std::optional<Bytes> UnaNotaCambiata(Smf smf) {
    for (auto& t : smf.tracce) {
        for (EventoSmf& e : t) {
            if ((e.dati[0] >> 4) == 9 && e.dati[2] > 0 && e.dati[1] < 127) {
                ++e.dati[1];
                return ScriviSmf(smf, true);
            }
        }
    }
    return std::nullopt;
}

Bytes LeggiFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

void Aggiungi(dati& catalogo, const fs::path& file) {
    using velmora::Utf8DaPercorso;
    AggiungiVoce(catalogo, Utf8DaPercorso(file.parent_path().filename()),
                 Utf8DaPercorso(file.filename()), Utf8DaPercorso(file.parent_path()),
                 AnalizzaFile(Utf8DaPercorso(file)));
}

// Each group as the set of its file names, with its kind.
std::set<std::pair<std::string, std::set<std::string>>> Gruppi(const dati& catalogo) {
    std::set<std::pair<std::string, std::set<std::string>>> gruppi;
    for (const GruppoDoppioni& g : TrovaDoppioni(catalogo)) {
        std::set<std::string> nomi;
        for (const auto* e : g.voci) {
            nomi.insert(e->nome);
        }
        gruppi.emplace(NomeTipo(g.tipo), nomi);
    }
    return gruppi;
}

std::vector<fs::path> FileDelCorpus() {
    std::vector<fs::path> file;
    const fs::path corpus(VELMORA_CORPUS);
    if (fs::is_directory(corpus)) {
        for (const auto& e : fs::recursive_directory_iterator(corpus)) {
            if (e.path().extension() == ".mid") {
                file.push_back(e.path());
            }
        }
    }
    std::sort(file.begin(), file.end());
    return file;
}

TEST(Doppioni, GruppiOrdinatiEIdenticiNonRipetuti) {
    using namespace prova;
    prova::CartellaTemporanea cartella;
    const auto& c = cartella.Percorso();
    const Bytes a = File(
        0, 96, {Unisci({Evento(0, {0x90, 60, 100}), Evento(96, {0x80, 60, 0}), FineTraccia()})});
    const Bytes b = File(0, 192,
                         {Unisci({Meta(0, 0x03, "Altro"), Evento(0, {0x90, 60, 1}),
                                  Evento(192, {0x90, 60, 0}), FineTraccia()})});
    const Bytes vuoto = File(0, 96, {FineTraccia()});
    // a1 a2 a3 are copies and b the same music; v1 v2 are copies without notes.
    for (const auto& [nome, bytes] : std::vector<std::pair<std::string, Bytes>>{{"a1.mid", a},
                                                                                {"v1.mid", vuoto},
                                                                                {"b.mid", b},
                                                                                {"a2.mid", a},
                                                                                {"v2.mid", vuoto},
                                                                                {"a3.mid", a}}) {
        ScriviFile(c / nome, bytes);
    }
    dati catalogo;
    for (const char* nome : {"a1.mid", "v1.mid", "b.mid", "a2.mid", "v2.mid", "a3.mid"}) {
        Aggiungi(catalogo, c / nome);
    }
    const std::vector<GruppoDoppioni> gruppi = TrovaDoppioni(catalogo);
    ASSERT_EQ(gruppi.size(), 3u);
    EXPECT_EQ(gruppi[0].tipo, GruppoDoppioni::Tipo::StessaMusica);
    EXPECT_EQ(gruppi[0].voci.size(), 4u);
    EXPECT_EQ(gruppi[0].voci[1]->nome, "b.mid");
    EXPECT_EQ(gruppi[1].tipo, GruppoDoppioni::Tipo::Identici);
    EXPECT_EQ(gruppi[1].voci.size(), 3u);
    EXPECT_EQ(gruppi[2].voci.size(), 2u);
    EXPECT_EQ(gruppi[2].voci[0]->nome, "v1.mid");
    // The groups of one file; a file without duplicates has none. Only identical
    // copies form no music group of their own.
    catalogo.Primo();
    catalogo.Prossimo();
    EXPECT_EQ(DoppioniDi(catalogo, *catalogo.Corrente()).size(), 1u);
    catalogo.Prossimo();
    EXPECT_EQ(DoppioniDi(catalogo, *catalogo.Corrente()).size(), 1u);
    dati soloCopie;
    Aggiungi(soloCopie, c / "a1.mid");
    Aggiungi(soloCopie, c / "a2.mid");
    EXPECT_EQ(Gruppi(soloCopie), (std::set<std::pair<std::string, std::set<std::string>>>{
                                     {"identici", {"a1.mid", "a2.mid"}}}));
    dati senzaAnalisi;
    AggiungiVoce(senzaAnalisi, "x", "a1.mid", "/x", AnalisiFile{});
    AggiungiVoce(senzaAnalisi, "x", "a2.mid", "/x", AnalisiFile{});
    EXPECT_TRUE(TrovaDoppioni(senzaAnalisi).empty());
}

// The corpus alone holds only these groups: damaged copies whose notes survived, and
// one piece that PianoBooster ships in two courses.
TEST(Doppioni, CorpusSenzaGruppiFalsi) {
    const std::vector<fs::path> corpus = FileDelCorpus();
    if (corpus.empty()) {
        GTEST_SKIP() << "corpus assente: " << VELMORA_CORPUS;
    }
    dati catalogo;
    for (const fs::path& f : corpus) {
        Aggiungi(catalogo, f);
    }
    const std::string openmsx = "usr_share_games_openttd_baseset_openmsx_";
    const std::set<std::pair<std::string, std::set<std::string>>> attesi = {
        {"stessa musica", {"broken_3_003_k3.mid", openmsx + "no_work_song_redfarn.mid"}},
        {"stessa musica", {"broken_3_009_k3.mid", "usr_share_planetblupi_music_music001.mid"}},
        {"stessa musica", {"broken_3_015_k3.mid", openmsx + "mighty_giant_run.mid"}},
        {"stessa musica",
         {"usr_share_doc_pianobooster_courses_BeginnerCourse_04-ClairDeLaLune.mid",
          "usr_share_doc_pianobooster_courses_BoosterMusic_01-ClairDeLaLune.mid"}}};
    EXPECT_EQ(Gruppi(catalogo), attesi);
}

// Every corpus song saved again in every way, plus a byte copy and a copy with one note
// changed, all in one catalogue: each song's group holds exactly its own variants.
TEST(Doppioni, CorpusRisalvatoTuttiTrovati) {
    const std::vector<fs::path> corpus = FileDelCorpus();
    if (corpus.empty()) {
        GTEST_SKIP() << "corpus assente: " << VELMORA_CORPUS;
    }
    prova::CartellaTemporanea cartella;
    dati catalogo;
    std::set<std::pair<std::string, std::set<std::string>>> attesi;
    int canzoni = 0;
    std::set<std::uint64_t> musiche; // a song the corpus holds twice is planted once
    for (const fs::path& f : corpus) {
        const Bytes originale = LeggiFile(f);
        const AnalisiFile a = AnalizzaFile(velmora::Utf8DaPercorso(f));
        const std::optional<Smf> smf = LeggiSmf(originale);
        if (f.parent_path().filename() == "broken" || !a.impronta || !smf || smf->formato == 2 ||
            !musiche.insert(*a.impronta).second) {
            continue;
        }
        const std::string base = std::to_string(++canzoni);
        std::set<std::string> musica{base + ".mid", base + " copia.mid"};
        prova::ScriviFile(cartella.Percorso() / (base + ".mid"), originale);
        prova::ScriviFile(cartella.Percorso() / (base + " copia.mid"), originale);
        for (const auto& [modo, bytes] : Varianti(*smf)) {
            const std::string nome = base + " " + modo + ".mid";
            prova::ScriviFile(cartella.Percorso() / nome, bytes);
            musica.insert(nome);
        }
        const std::optional<Bytes> cambiata = UnaNotaCambiata(*smf);
        ASSERT_TRUE(cambiata);
        prova::ScriviFile(cartella.Percorso() / (base + " nota cambiata.mid"), *cambiata);
        attesi.emplace("stessa musica", musica);
    }
    for (const auto& e : fs::directory_iterator(cartella.Percorso())) {
        Aggiungi(catalogo, e.path());
    }
    ASSERT_GT(canzoni, 50);
    // Byte copies also form groups of identical files.
    std::set<std::pair<std::string, std::set<std::string>>> musicali;
    std::size_t identici = 0;
    for (const auto& g : Gruppi(catalogo)) {
        if (g.first == "stessa musica") {
            musicali.insert(g);
        } else {
            ++identici;
        }
    }
    // Compared group by group, so that a failure names the songs.
    std::vector<std::pair<std::string, std::set<std::string>>> mancanti, inattesi;
    std::set_difference(attesi.begin(), attesi.end(), musicali.begin(), musicali.end(),
                        std::back_inserter(mancanti));
    std::set_difference(musicali.begin(), musicali.end(), attesi.begin(), attesi.end(),
                        std::back_inserter(inattesi));
    EXPECT_EQ(mancanti, inattesi);
    EXPECT_GE(identici, static_cast<std::size_t>(canzoni));
}

// A hard link and a symbolic link of a file are that file under other names: never its
// duplicates, but shown beside it when it has a real copy.
TEST(Doppioni, ILinkDiUnFileSonoQuelFileConAltriNomi) {
    using namespace prova;
    prova::CartellaTemporanea cartella;
    const auto& c = cartella.Percorso();
    ScriviFile(
        c / "a.mid",
        File(0, 96,
             {Unisci({Evento(0, {0x90, 60, 100}), Evento(96, {0x80, 60, 0}), FineTraccia()})}));
    std::error_code ec;
    fs::create_hard_link(c / "a.mid", c / "fisso.mid", ec);
    if (ec) {
        GTEST_SKIP() << "this file system makes no hard links: " << ec.message();
    }
    fs::create_symlink(c / "a.mid", c / "simbolico.mid", ec);
    std::vector<std::string> altri = {"fisso.mid"};
    if (!ec) {
        altri.push_back("simbolico.mid");
    }
    dati catalogo;
    Aggiungi(catalogo, c / "a.mid");
    for (const std::string& nome : altri) {
        Aggiungi(catalogo, c / nome);
    }
    EXPECT_TRUE(TrovaDoppioni(catalogo).empty());

    fs::copy_file(c / "a.mid", c / "copia.mid");
    Aggiungi(catalogo, c / "copia.mid");
    const std::vector<GruppoDoppioni> gruppi = TrovaDoppioni(catalogo);
    ASSERT_EQ(gruppi.size(), 1u);
    ASSERT_EQ(gruppi[0].voci.size(), 2u);
    EXPECT_EQ(gruppi[0].voci[0]->nome, "a.mid");
    EXPECT_EQ(gruppi[0].voci[1]->nome, "copia.mid");
    std::vector<std::string> nomi;
    for (const dati::elemento* e : gruppi[0].altriNomi[0]) {
        nomi.push_back(e->nome);
    }
    EXPECT_EQ(nomi, altri);
    EXPECT_TRUE(gruppi[0].altriNomi[1].empty());
    const dati::elemento& fisso = *catalogo.PrimoElemento()->successivo;
    EXPECT_EQ(gruppi[0].Posto(fisso), 0u);
    EXPECT_EQ(DoppioniDi(catalogo, fisso).size(), 1u);
}

} // namespace
