// Text conversions between the bytes found in MIDI files, the UTF-8 used inside
// the program and the Windows-1252 bytes of the files written for people.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool Utf8Valido(std::string_view bytes);

// Bytes taken from a MIDI file as UTF-8: kept when they already are valid UTF-8,
// otherwise read as Windows-1252; its five unassigned bytes become U+0081, U+008D,
// U+008F, U+0090 and U+009D, so every byte survives the conversion.
std::string DecodificaTesto(std::string_view bytes);

// UTF-8 to Windows-1252; a character the code page cannot hold becomes "?".
// Invalid UTF-8 sequences also become "?".
std::string CodificaAnsi(std::string_view utf8);
// The same, appended to out: a text written piece by piece is converted as it goes.
// Pieces that start and end with whole characters give what the whole text gives.
void AggiungiAnsi(std::string& out, std::string_view utf8);

// A file or folder name as the text list and the text reports write it: each control
// character (C0, DEL, C1) becomes "?", so a name cannot break or forge a line. The
// number of characters stays the same.
std::string NomeSenzaControlli(std::string_view utf8);

// Number of characters (code points) of a UTF-8 text; a byte that is not part of
// a well-formed sequence counts as one character, as CodificaAnsi writes it.
std::size_t Caratteri(std::string_view utf8);

// The text less its last n characters (empty when it has n or fewer).
std::string SenzaUltimiCaratteri(std::string_view utf8, std::size_t n);

// Line ends as a lone LF (for standard output): CR LF and a lone CR become LF.
std::string SoloLf(std::string_view testo);

// A 64-bit value (a hash, a fingerprint) as text: 16 lower-case hexadecimal digits.
std::string Esadecimale(std::uint64_t valore);

} // namespace velmora
