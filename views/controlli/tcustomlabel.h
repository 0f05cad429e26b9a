// The label of both windows: a caption drawn in its font colour over whatever
// lies behind it (the background tiles show through), etched in grey while the
// label is disabled, with a click on a left-button press and release over it.
#pragma once

#include <QColor>
#include <QLabel>

class QMouseEvent;
class QPaintEvent;

class TCustomLabel : public QLabel {
    Q_OBJECT

public:
    explicit TCustomLabel(QWidget* genitore = nullptr);

    // The colour of the caption while the label is enabled.
    QColor ColoreFont() const;
    void SetColoreFont(const QColor& colore);

signals:
    // The label was clicked. A failure escaping a handler of this signal is shown
    // by the general error handler.
    void Click();

protected:
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    bool premuto = false;
};
