// The two saved forms of a report: a Rich Text Format document with the colours and
// bold of its styles, and plain text.
#pragma once

#include "rapporto.h"

#include <string>

// A Rich Text Format document of the runs, in the report's font "Comic Sans MS": style
// 0 blue, 1 bold red, 2 green, 3 black; a run of any other style keeps the colour and
// weight of the run before it. Every line end becomes a paragraph mark; characters of
// Windows-1252 are written as such, all others as Unicode.
std::string DocumentoRtf(const Rapporto& rapporto);

// The text of the runs alone: Windows-1252 ("?" for what it cannot hold), CR LF line
// ends.
std::string TestoSemplice(const Rapporto& rapporto);
