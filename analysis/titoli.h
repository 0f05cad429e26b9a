// What a file says it is: the rules by which a name or a text of the file becomes its
// title or its author. They are few and strict on purpose: a file that does not plainly
// say has no title or no author, never a guessed one.
#pragma once

#include <optional>
#include <string_view>

namespace velmora {

// The text without the spaces, tabs and line ends around it.
std::string_view Rifilato(std::string_view testo);

// A name sequencers give by default, which says nothing of the song: empty, or one of
// "Untitled", "Senza titolo", "Sequence", "Sequenza", "Track", "Traccia", "Staff",
// "Tempo Track", "Conductor", "Notes", alone or with a number ("Track 1", "Staff-2"), in
// any case.
bool NomeGenerico(std::string_view nome);

// The author a credit names: a text that starts with "Words and music by", "Music by",
// "Words by", "Lyrics by", "Written by", "Composed by", "By", "Testo e musica di",
// "Parole e musica di", "Musica di", "Parole di", "Testo di", "Autore:", "Author:",
// "Composer:" or "Compositore:" (in any case), followed by a name of at most 60 bytes
// that is not a template's placeholder ("<Name>", "[...]"). Nothing otherwise.
std::optional<std::string_view> AutoreNelCredito(std::string_view testo);

} // namespace velmora
