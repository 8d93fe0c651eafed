#pragma once

#include <QWidget>
#include <array>

class QLineEdit;

// An IPv4 address typed as four octet fields. Before anything changed, the
// octets are 0 and the text is empty; from the first change of an octet (typed
// or set by the program) the text is the dotted address and follows every
// change. A field takes up to three digits; anything that is no number or lies
// above 255 puts the field back to its last accepted value, and the third
// digit moves on to the next field. A blank field counts as 0.
class IPAddressEdit : public QWidget
{
    Q_OBJECT

public:
    explicit IPAddressEdit(QWidget *parent = nullptr);

    int octet(int index) const;
    std::array<int, 4> octets() const { return values; }
    // A value outside 0..255 is kept within it.
    void setOctet(int index, int value);
    void setOctets(const std::array<int, 4> &octets);
    QString text() const;

    // Names the address and its four fields for screen readers ("From", "From octet 1", ...).
    void setAddressName(const QString &name);

    // The field of one octet, for keyboard tests and focus handling.
    QLineEdit *field(int index) const { return fields[index]; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void textChanged(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Caret { SelectAll, Start, End };

    void fieldEdited(int index, const QString &typed);
    void storeOctet(int index, int value);
    void focusField(int index, Caret caret);
    void fillBlankFields();
    bool hasFocusInside() const;

    std::array<QLineEdit *, 4> fields{};
    std::array<QString, 4> accepted; // what each field last showed with a valid value
    std::array<int, 4> values{};
    bool changed = false;
};
