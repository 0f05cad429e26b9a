#include "tcustomlabel.h"

#include "errori.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

TCustomLabel::TCustomLabel(QWidget* genitore) : QLabel(genitore) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(false);
}

QColor TCustomLabel::ColoreFont() const {
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void TCustomLabel::SetColoreFont(const QColor& colore) {
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::WindowText, colore);
    setPalette(tavolozza);
}

void TCustomLabel::mousePressEvent(QMouseEvent* evento) {
    premuto = evento->button() == Qt::LeftButton;
    evento->accept();
}

void TCustomLabel::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() != Qt::LeftButton) {
        return;
    }
    const bool click = premuto && rect().contains(evento->position().toPoint());
    premuto = false;
    if (click) {
        Protetto([this] { emit Click(); });
    }
}

void TCustomLabel::paintEvent(QPaintEvent* evento) {
    if (isEnabled()) {
        QLabel::paintEvent(evento);
        return;
    }
    // The classic greyed caption: a light copy one pixel down and right under
    // a grey one, whatever the label's own colour.
    QPainter pittore(this);
    pittore.setFont(font());
    const QRect area = contentsRect();
    const int allineamento = QStyle::visualAlignment(layoutDirection(), alignment());
    const QPalette& sistema = QApplication::palette();
    pittore.setPen(sistema.color(QPalette::Disabled, QPalette::Light));
    pittore.drawText(area.translated(1, 1), allineamento, text());
    pittore.setPen(sistema.color(QPalette::Disabled, QPalette::Dark));
    pittore.drawText(area, allineamento, text());
}
