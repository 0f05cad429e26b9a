// How long a render is: the music to its last note, a cut only when asked for, and
// sizes that tell an absurd WAV before any of it is written.
#include "render_wav.h"

#include "costruttore_midi.h"

#include <gtest/gtest.h>

using namespace prova;

TEST(PianoRender, MusicEndsAtTheLastNoteAndACutIsOnlyWhatWasAskedFor) {
    // 61 minutes of one note at one second a tick, then a controller an hour later.
    const velmora::Sequenza lunga = velmora::LeggiSequenza(
        File(0, 1,
             {Unisci({Tempo(0, 1000000), Evento(0, {0x90, 60, 100}), Evento(3660, {0x80, 60, 0}),
                      Evento(3600, {0xB0, 7, 0}), FineTraccia()})}));
    EXPECT_FALSE(lunga.danneggiata);
    velmora::PianoRender p = velmora::Pianifica(lunga, {"", 8000, {}});
    EXPECT_DOUBLE_EQ(p.fineMusica, 3660);
    EXPECT_FALSE(p.troncato);
    EXPECT_EQ(p.frame, (3660u + 2) * 8000);
    EXPECT_EQ(p.ByteWav(), 44 + 4 * p.frame);

    p = velmora::Pianifica(lunga, {"", 8000, 30.5});
    EXPECT_TRUE(p.troncato);
    EXPECT_EQ(p.frame, 32.5 * 8000);
    EXPECT_FALSE(velmora::Pianifica(lunga, {"", 8000, 3660.0}).troncato);

    // A note weeks away: a size far past what the format holds, to be refused.
    const velmora::Sequenza assurda = velmora::LeggiSequenza(
        File(0, 1, {Unisci({Evento(0, {0x90, 60, 100}), Evento(0x0FFFFFFF, {0x80, 60, 0})})}));
    EXPECT_GT(velmora::Pianifica(assurda, {"", 8000, {}}).ByteWav(), velmora::kByteWavMassimi);
}
