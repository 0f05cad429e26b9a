// The outcome of an operation that may fail with a message for the user: writing a
// file, renaming one.
#pragma once

#include <string>

// An empty message on success, otherwise the message to show.
struct Esito {
    std::string errore;

    bool Riuscito() const { return errore.empty(); }
    explicit operator bool() const { return Riuscito(); }
};
