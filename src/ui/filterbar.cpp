#include "ui/filterbar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>

namespace {

// Longer texts find nothing a server name would hold.
constexpr int MaxTextLength = 64;

QCheckBox *toggle(const QString &caption, const QString &name, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    return box;
}

} // namespace

FilterBar::FilterBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FilterBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    EditFilter = new QLineEdit(this);
    EditFilter->setObjectName(QStringLiteral("EditFilter"));
    EditFilter->setAccessibleName(QStringLiteral("Filter"));
    EditFilter->setPlaceholderText(QStringLiteral("Filter (Ctrl+F)"));
    EditFilter->setToolTip(QStringLiteral("Show only the servers whose name, map or address holds this text"));
    EditFilter->setClearButtonEnabled(true);
    EditFilter->setMaxLength(MaxTextLength);
    // Escape clears the text, as the clear button does.
    auto *clear = new QShortcut(QKeySequence(Qt::Key_Escape), EditFilter, EditFilter, &QLineEdit::clear);
    clear->setContext(Qt::WidgetShortcut);
    layout->addWidget(EditFilter, 1);

    CBHideEmpty = toggle(QStringLiteral("Hide empty"), QStringLiteral("CBHideEmpty"), this);
    CBHideFull = toggle(QStringLiteral("Hide full"), QStringLiteral("CBHideFull"), this);
    CBHidePassword = toggle(QStringLiteral("Hide password"), QStringLiteral("CBHidePassword"), this);
    for (QCheckBox *box : {CBHideEmpty, CBHideFull, CBHidePassword}) {
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &FilterBar::filterChanged);
    }

    LBFilterCount = new QLabel(this);
    LBFilterCount->setObjectName(QStringLiteral("LBFilterCount"));
    LBFilterCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for "5000 of 5000", so the bar does not move as rows arrive.
    LBFilterCount->setMinimumWidth(LBFilterCount->fontMetrics().horizontalAdvance(QStringLiteral("0000 of 0000")));
    layout->addWidget(LBFilterCount);

    connect(EditFilter, &QLineEdit::textChanged, this, &FilterBar::filterChanged);
    connect(EditFilter, &QLineEdit::returnPressed, this, &FilterBar::textAccepted);
}

ServerFilter FilterBar::filter() const
{
    ServerFilter f;
    f.text = EditFilter->text();
    f.hideEmpty = CBHideEmpty->isChecked();
    f.hideFull = CBHideFull->isChecked();
    f.hidePassword = CBHidePassword->isChecked();
    return f;
}

void FilterBar::setFilter(const ServerFilter &filter)
{
    const QSignalBlocker text(EditFilter);
    const QSignalBlocker empty(CBHideEmpty);
    const QSignalBlocker full(CBHideFull);
    const QSignalBlocker password(CBHidePassword);
    EditFilter->setText(filter.text);
    CBHideEmpty->setChecked(filter.hideEmpty);
    CBHideFull->setChecked(filter.hideFull);
    CBHidePassword->setChecked(filter.hidePassword);
}

void FilterBar::showCount(int shown, int listed)
{
    LBFilterCount->setText(shown < listed ? QStringLiteral("%1 of %2").arg(shown).arg(listed) : QString());
}

void FilterBar::focusText()
{
    EditFilter->setFocus(Qt::ShortcutFocusReason);
    EditFilter->selectAll();
}
