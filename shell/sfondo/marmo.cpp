#include "marmo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

// Only exactly rounded arithmetic (no sin or pow), so every machine computes
// the same picture.

namespace {

constexpr int Lato = 256;

// A fixed sequence of pseudo-random numbers (xorshift32).
class Casuale {
public:
    explicit Casuale(std::uint32_t seme) : stato(seme) {}
    double Prossimo() {
        stato ^= stato << 13;
        stato ^= stato >> 17;
        stato ^= stato << 5;
        return static_cast<double>(stato) / 4294967296.0;
    }

private:
    std::uint32_t stato;
};

// Smooth noise on a grid of celle by celle random values that wraps around at
// the picture's edges.
class Rumore {
public:
    Rumore(int lato, Casuale& casuale) : celle(lato), valori(lato * lato) {
        for (double& v : valori) {
            v = casuale.Prossimo();
        }
    }
    double In(int x, int y) const {
        const double u = static_cast<double>(x) * celle / Lato;
        const double v = static_cast<double>(y) * celle / Lato;
        const int i = static_cast<int>(u);
        const int j = static_cast<int>(v);
        const double fu = Liscio(u - i);
        const double fv = Liscio(v - j);
        const double alto = Misto(Valore(i, j), Valore(i + 1, j), fu);
        const double basso = Misto(Valore(i, j + 1), Valore(i + 1, j + 1), fu);
        return Misto(alto, basso, fv);
    }

private:
    static double Liscio(double t) { return t * t * (3 - 2 * t); }
    static double Misto(double a, double b, double t) { return a + (b - a) * t; }
    double Valore(int i, int j) const { return valori[(j % celle) * celle + i % celle]; }

    int celle;
    std::vector<double> valori;
};

// Sum of noise octaves, each twice as fine and half as strong: values 0 to 1.
class Turbolenza {
public:
    explicit Turbolenza(std::uint32_t seme) {
        Casuale casuale(seme);
        for (int celle = 4; celle <= 64; celle *= 2) {
            ottave.emplace_back(celle, casuale);
        }
    }
    double In(int x, int y) const {
        double somma = 0;
        double peso = 0.5;
        double totale = 0;
        for (const Rumore& ottava : ottave) {
            somma += ottava.In(x, y) * peso;
            totale += peso;
            peso /= 2;
        }
        return somma / totale;
    }

private:
    std::vector<Rumore> ottave;
};

// 0 in the middle of each period of t, 1 at its ends: a wave with sharp crests.
double Onda(double t) {
    const double frazione = t - std::floor(t);
    return std::abs(2 * frazione - 1);
}

double Potenza(double base, int esponente) {
    double risultato = 1;
    for (int i = 0; i < esponente; ++i) {
        risultato *= base;
    }
    return risultato;
}

// Palette: from almost black blue through navy to a pale blue for the streaks.
QRgb Colore(int indice) {
    struct Tappa {
        double posizione;
        double r, g, b;
    };
    static constexpr std::array<Tappa, 5> tappe{{{0.00, 2, 2, 40},
                                                 {0.35, 8, 14, 92},
                                                 {0.62, 22, 38, 138},
                                                 {0.85, 52, 80, 178},
                                                 {1.00, 112, 142, 226}}};
    const double t = indice / 255.0;
    std::size_t k = 1;
    while (k + 1 < tappe.size() && t > tappe[k].posizione) {
        ++k;
    }
    const Tappa& a = tappe[k - 1];
    const Tappa& b = tappe[k];
    const double f = (t - a.posizione) / (b.posizione - a.posizione);
    auto canale = [f](double da, double a2) { return static_cast<int>(da + (a2 - da) * f + 0.5); };
    return qRgb(canale(a.r, b.r), canale(a.g, b.g), canale(a.b, b.b));
}

} // namespace

QImage Marmo() {
    QImage immagine(Lato, Lato, QImage::Format_Indexed8);
    immagine.setColorCount(256);
    for (int i = 0; i < 256; ++i) {
        immagine.setColor(i, Colore(i));
    }
    const Turbolenza venatura(0x5EB1A7u);
    const Turbolenza fondo(0x0C3A11u);
    const Turbolenza vena(0x7A21D3u);
    for (int y = 0; y < Lato; ++y) {
        uchar* riga = immagine.scanLine(y);
        for (int x = 0; x < Lato; ++x) {
            // The streaks run diagonally, bent by the noise; whole periods across
            // the picture keep the edges seamless.
            const double principale =
                Potenza(Onda((2.0 * x + y) / Lato + 2.2 * venatura.In(x, y)), 5);
            const double sottile =
                0.4 * Potenza(Onda((1.0 * x - 3.0 * y) / Lato + 3.0 * vena.In(x, y)), 20);
            const double base = fondo.In(x, y);
            double valore = 0.1 + 0.5 * base * base + 0.62 * std::max(principale, sottile);
            valore = std::clamp(valore, 0.0, 1.0);
            riga[x] = static_cast<uchar>(valore * 255 + 0.5);
        }
    }
    return immagine;
}
