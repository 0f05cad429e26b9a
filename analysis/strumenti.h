// Short instrument names by General MIDI program number.
#pragma once

#include <array>
#include <string_view>

extern const std::array<std::string_view, 128> nomiStrumenti;
