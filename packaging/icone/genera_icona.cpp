// Writes the program's icon into the folder named on the command line
// (packaging/icone in the repository): a rounded tile of the windows' marble
// background with a yellow pair of beamed notes, as PNG files of every size the
// desktop themes ask for, as an SVG (the notes as vector shapes over the marble)
// and as the Windows .ico. The same shapes draw the PNG files and the SVG.
#include "marmo.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr int Lato = 256; // the drawing's own units, those of the SVG
constexpr std::array Misure = {16, 24, 32, 48, 64, 128, 256};
constexpr std::array MisureIco = {16, 24, 32, 48, 64, 256};

// The tile and its edge.
constexpr double Margine = 8, Raggio = 44, Bordo = 6;
const char* const ColoreBordo = "#8fb4ff";
// The notes: two heads tilted by Inclinazione degrees, their stems and the beam.
struct Testa {
    double x, y;
};
constexpr std::array Teste = {Testa{88, 182}, Testa{180, 160}};
constexpr double RaggioX = 30, RaggioY = 21, Inclinazione = -20;
constexpr double Gambo = 12, Altezza = 118, Trave = 34;
const char* const ColoreNote = "#ffff00";
const char* const ColoreContorno = "#000040";
constexpr double Contorno = 6;

// The marble, computed once for every picture.
const QImage& Sfondo() {
    static const QImage marmo = Marmo();
    return marmo;
}

// The right end of a head, where its stem stands.
double XGambo(const Testa& t) {
    return t.x + RaggioX - Gambo + 2;
}

// The beam's corners, from the top of the first stem to the top of the second.
std::array<QPointF, 4> AngoliTrave() {
    const double x0 = XGambo(Teste[0]), x1 = XGambo(Teste[1]) + Gambo;
    const double y0 = Teste[0].y - Altezza, y1 = Teste[1].y - Altezza;
    return {QPointF(x0, y0), QPointF(x1, y1), QPointF(x1, y1 + Trave), QPointF(x0, y0 + Trave)};
}

QPainterPath Note() {
    QPainterPath note;
    note.setFillRule(Qt::WindingFill);
    for (const Testa& t : Teste) {
        QPainterPath testa;
        testa.addEllipse(QPointF(0, 0), RaggioX, RaggioY);
        note.addPath(QTransform().translate(t.x, t.y).rotate(Inclinazione).map(testa));
        note.addRect(XGambo(t), t.y - Altezza, Gambo, Altezza);
    }
    const std::array<QPointF, 4> trave = AngoliTrave();
    note.addPolygon(QPolygonF(QList<QPointF>(trave.begin(), trave.end())));
    note.closeSubpath();
    return note;
}

QImage Disegna(int misura) {
    QImage icona(misura, misura, QImage::Format_ARGB32_Premultiplied);
    icona.fill(Qt::transparent);
    QPainter p(&icona);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.scale(misura / double(Lato), misura / double(Lato));
    QPainterPath piastrella;
    piastrella.addRoundedRect(Margine, Margine, Lato - 2 * Margine, Lato - 2 * Margine, Raggio,
                              Raggio);
    p.setClipPath(piastrella);
    p.drawImage(0, 0, Sfondo());
    p.setClipping(false);
    p.setPen(QPen(QColor(ColoreBordo), Bordo));
    p.drawPath(piastrella);
    // The outline first, then the notes over it: only its outer half shows, as in the SVG.
    const QPainterPath note = Note().simplified();
    p.strokePath(
        note, QPen(QColor(ColoreContorno), Contorno, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(note, QColor(ColoreNote));
    return icona;
}

QByteArray Png(const QImage& immagine) {
    QByteArray dati;
    QBuffer buffer(&dati);
    buffer.open(QIODevice::WriteOnly);
    immagine.save(&buffer, "PNG");
    return dati;
}

QByteArray Svg() {
    QString note;
    for (const Testa& t : Teste) {
        note += QString("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" "
                        "transform=\"rotate(%5 %1 %2)\"/>\n"
                        "  <rect x=\"%6\" y=\"%7\" width=\"%8\" height=\"%9\"/>\n")
                    .arg(t.x)
                    .arg(t.y)
                    .arg(RaggioX)
                    .arg(RaggioY)
                    .arg(Inclinazione)
                    .arg(XGambo(t))
                    .arg(t.y - Altezza)
                    .arg(Gambo)
                    .arg(Altezza);
    }
    QStringList angoli;
    for (const QPointF& angolo : AngoliTrave()) {
        angoli << QString("%1,%2").arg(angolo.x()).arg(angolo.y());
    }
    note += QString("  <polygon points=\"%1\"/>\n").arg(angoli.join(' '));
    const QString piastrella = QString("x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\"")
                                   .arg(Margine)
                                   .arg(Lato - 2 * Margine)
                                   .arg(Raggio);
    const QString svg =
        QString("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"%1\" height=\"%1\" "
                "viewBox=\"0 0 %1 %1\">\n"
                " <clipPath id=\"piastrella\"><rect %2/></clipPath>\n"
                " <image width=\"%1\" height=\"%1\" clip-path=\"url(#piastrella)\" "
                "xlink:href=\"data:image/png;base64,%3\"/>\n"
                " <rect %2 fill=\"none\" stroke=\"%4\" stroke-width=\"%5\"/>\n"
                " <g fill=\"%6\" stroke=\"%7\" stroke-width=\"%8\" stroke-linejoin=\"round\">\n"
                "%9"
                " </g>\n"
                " <g fill=\"%6\">\n%9 </g>\n"
                "</svg>\n")
            .arg(Lato)
            .arg(piastrella)
            .arg(QString::fromLatin1(Png(Sfondo()).toBase64()))
            .arg(ColoreBordo)
            .arg(Bordo)
            .arg(ColoreNote)
            .arg(ColoreContorno)
            .arg(Contorno)
            .arg(note);
    return svg.toUtf8();
}

void Aggiungi16(QByteArray& dati, int valore) {
    dati.append(char(valore & 0xFF));
    dati.append(char((valore >> 8) & 0xFF));
}
void Aggiungi32(QByteArray& dati, qsizetype valore) {
    Aggiungi16(dati, int(valore & 0xFFFF));
    Aggiungi16(dati, int((valore >> 16) & 0xFFFF));
}

// An .ico whose images are PNG files, as Windows has read them since Vista.
QByteArray Ico() {
    std::vector<QByteArray> immagini;
    for (int misura : MisureIco) {
        immagini.push_back(Png(Disegna(misura)));
    }
    QByteArray ico;
    Aggiungi16(ico, 0);
    Aggiungi16(ico, 1); // an icon
    Aggiungi16(ico, int(immagini.size()));
    qsizetype posizione = 6 + 16 * qsizetype(immagini.size());
    for (std::size_t i = 0; i < immagini.size(); ++i) {
        const int misura = MisureIco[i] % 256; // 0 means 256
        ico.append(char(misura));
        ico.append(char(misura));
        ico.append(char(0)); // no palette
        ico.append(char(0));
        Aggiungi16(ico, 1);  // planes
        Aggiungi16(ico, 32); // bits per pixel
        Aggiungi32(ico, immagini[i].size());
        Aggiungi32(ico, posizione);
        posizione += immagini[i].size();
    }
    for (const QByteArray& immagine : immagini) {
        ico.append(immagine);
    }
    return ico;
}

bool Scrivi(const QString& nome, const QByteArray& dati) {
    QFile file(nome);
    if (file.open(QIODevice::WriteOnly) && file.write(dati) == dati.size() && file.flush()) {
        return true;
    }
    std::fprintf(stderr, "impossibile scrivere %s\n", qPrintable(nome));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: genera_icona CARTELLA\n");
        return 2;
    }
    const QString cartella = QString::fromLocal8Bit(argv[1]) + "/";
    bool riuscito =
        Scrivi(cartella + "velmora.svg", Svg()) && Scrivi(cartella + "velmora.ico", Ico());
    for (int misura : Misure) {
        riuscito = riuscito &&
                   Scrivi(cartella + QString("velmora-%1.png").arg(misura), Png(Disegna(misura)));
    }
    return riuscito ? 0 : 1;
}
