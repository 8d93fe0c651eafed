#pragma once

#include <QLabel>

// A label that behaves like a web link: blue with a hand cursor, red while a
// mouse button is down on it, purple once released, underlined while the
// mouse is over it or it has the keyboard focus. A left click emits
// clicked(), and so do Enter and Space when it has the focus (Tab reaches it).
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

    QColor textColor() const;

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setTextColor(const QColor &color);
    void setUnderline(bool on);
};
