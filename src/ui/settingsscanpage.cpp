// The "Scan settings" page of the settings dialog: the address ranges to
// sweep, the ports, the delay between queries, broadcast and old protocol.

#include "settings/writereport.h"
#include "ui/settingsdialog.h"

#include "desktop/prompter.h"
#include "scan/broadcasttargets.h"
#include "settings/inifile.h"
#include "settings/rangerules.h"
#include "ui/ipaddressedit.h"
#include "ui/portkeyfilter.h"
#include "ui/rowselection.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The translation context of the texts below.
struct SettingsDialog
{
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)
};

enum RangeColumn { CheckColumn = 0, FromColumn = 1, ToColumn = 2 };
constexpr int CheckColumnWidth = 20;
constexpr int AddressColumnWidth = 91; // wider when the font needs it
constexpr int MaxDelay = 30;

AddressInput inputOf(const IPAddressEdit *edit)
{
    return {edit->octets(), edit->text()};
}

QToolButton *arrowButton(Qt::ArrowType arrow, const QString &hint, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setToolTip(hint);
    // An arrow alone says nothing to a screen reader.
    button->setAccessibleName(hint);
    return button;
}

QTableWidgetItem *addressItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

QWidget *TSettings::buildScanPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setSpacing(4);

    auto *top = new QHBoxLayout;
    top->setSpacing(4);
    LWranges = new QTableWidget(0, 3, page);
    LWranges->setObjectName(QStringLiteral("LWranges"));
    LWranges->setAccessibleName(SettingsDialog::tr("IP ranges"));
    LWranges->setHorizontalHeaderLabels({QString(), SettingsDialog::tr("From IP:"), SettingsDialog::tr("To IP:")});
    LWranges->horizontalHeaderItem(FromColumn)->setTextAlignment(Qt::AlignCenter);
    LWranges->horizontalHeaderItem(ToColumn)->setTextAlignment(Qt::AlignCenter);
    const int addressWidth = std::max(AddressColumnWidth,
                                      LWranges->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 8);
    QHeaderView *header = LWranges->horizontalHeader();
    header->setMinimumSectionSize(CheckColumnWidth);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->resizeSection(CheckColumn, CheckColumnWidth);
    header->resizeSection(FromColumn, addressWidth);
    header->resizeSection(ToColumn, addressWidth);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    LWranges->verticalHeader()->hide();
    LWranges->verticalHeader()->setDefaultSectionSize(LWranges->fontMetrics().height() + 4);
    LWranges->setSelectionBehavior(QAbstractItemView::SelectRows);
    LWranges->setSelectionMode(QAbstractItemView::SingleSelection);
    LWranges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LWranges->setTabKeyNavigation(false);
    LWranges->setSortingEnabled(false);
    LWranges->setShowGrid(true);
    LWranges->setWordWrap(false);
    LWranges->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LWranges->setFixedWidth(CheckColumnWidth + 2 * addressWidth + 2 * LWranges->frameWidth()
                            + LWranges->verticalScrollBar()->sizeHint().width());
    top->addWidget(LWranges);

    auto *moves = new QVBoxLayout;
    SBMoveUp = arrowButton(Qt::UpArrow, SettingsDialog::tr("Move up"), page);
    SBMoveUp->setObjectName(QStringLiteral("SBMoveUp"));
    SBMoveDown = arrowButton(Qt::DownArrow, SettingsDialog::tr("Move down"), page);
    SBMoveDown->setObjectName(QStringLiteral("SBMoveDown"));
    moves->addWidget(SBMoveUp);
    moves->addWidget(SBMoveDown);
    moves->addStretch();
    top->addLayout(moves);

    auto *right = new QVBoxLayout;
    auto *keys = new PortKeyFilter(prompter, this);
    auto *ports = new QGroupBox(SettingsDialog::tr("Ports:"), page);
    auto *portForm = new QFormLayout(ports);
    portForm->setContentsMargins(6, 4, 6, 4);
    portForm->setVerticalSpacing(2);
    CSport = keys->portEdit(ports);
    CSport->setObjectName(QStringLiteral("CSport"));
    CSport->setAccessibleName(SettingsDialog::tr("Game port"));
    HLTVport = keys->portEdit(ports);
    HLTVport->setObjectName(QStringLiteral("HLTVport"));
    HLTVport->setAccessibleName(SettingsDialog::tr("HLTV port"));
    portForm->addRow(SettingsDialog::tr("Games"), CSport);
    portForm->addRow(QStringLiteral("HLTV"), HLTVport);
    right->addWidget(ports);

    auto *delay = new QGroupBox(SettingsDialog::tr("Scan delay"), page);
    auto *delayRow = new QHBoxLayout(delay);
    delayRow->setContentsMargins(6, 4, 6, 4);
    SEDelay = new QSpinBox(delay);
    SEDelay->setObjectName(QStringLiteral("SEDelay"));
    SEDelay->setAccessibleName(SettingsDialog::tr("Scan delay"));
    SEDelay->setRange(0, MaxDelay);
    SEDelay->setValue(settings.delay);
    // Changed with the arrows only.
    SEDelay->findChild<QLineEdit *>()->setReadOnly(true);
    delayRow->addWidget(SEDelay);
    delayRow->addWidget(new QLabel(SettingsDialog::tr("ms"), delay));
    delayRow->addStretch();
    right->addWidget(delay);
    right->addStretch();
    top->addLayout(right);
    layout->addLayout(top, 1);

    auto *editors = new QGridLayout;
    editors->setHorizontalSpacing(4);
    editors->setVerticalSpacing(2);
    IPE1 = new IPAddressEdit(page);
    IPE1->setObjectName(QStringLiteral("IPE1"));
    IPE1->setAddressName(SettingsDialog::tr("From"));
    IPE2 = new IPAddressEdit(page);
    IPE2->setObjectName(QStringLiteral("IPE2"));
    IPE2->setAddressName(SettingsDialog::tr("To"));
    SBAdd = new QPushButton(SettingsDialog::tr("Add"), page);
    SBAdd->setObjectName(QStringLiteral("SBAdd"));
    SBAdd->setAccessibleName(SettingsDialog::tr("Add range"));
    SBDel = new QPushButton(SettingsDialog::tr("Del"), page);
    SBDel->setObjectName(QStringLiteral("SBDel"));
    SBDel->setAccessibleName(SettingsDialog::tr("Delete range"));
    SBFill = new QPushButton(QStringLiteral("0..255"), page);
    SBFill->setObjectName(QStringLiteral("SBFill"));
    SBFill->setAccessibleName(SettingsDialog::tr("Fill to 255"));
    editors->addWidget(new QLabel(SettingsDialog::tr("From:"), page), 0, 0);
    editors->addWidget(IPE1, 0, 1);
    editors->addWidget(SBAdd, 0, 2);
    editors->addWidget(new QLabel(SettingsDialog::tr("To:"), page), 1, 0);
    editors->addWidget(IPE2, 1, 1);
    editors->addWidget(SBDel, 1, 2);
    editors->addWidget(SBFill, 1, 3);
    editors->setColumnStretch(4, 1);
    layout->addLayout(editors);

    auto *flags = new QGridLayout;
    flags->setHorizontalSpacing(8);
    flags->setVerticalSpacing(2);
    CBBroadcast = new QCheckBox(SettingsDialog::tr("Broadcast"), page);
    CBBroadcast->setObjectName(QStringLiteral("CBBroadcast"));
    CBBroadcast->setChecked(true);
    LBroadcastTo = new QLabel(page);
    LBroadcastTo->setObjectName(QStringLiteral("LBroadcastTo"));
    LBroadcastTo->setAccessibleName(SettingsDialog::tr("Broadcast addresses"));
    LBroadcastTo->setWordWrap(true);
    LBroadcastTo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CBLanPorts = new QCheckBox(SettingsDialog::tr("Also broadcast to the LAN ports 27015–27019"), page);
    CBLanPorts->setObjectName(QStringLiteral("CBLanPorts"));
    CBLanPorts->setToolTip(SettingsDialog::tr("Finds the second and third server on one machine; "
                                              "a scan on the HLTV port broadcasts to that port only"));
    CBLanPorts->setChecked(true);
    CBOld = new QCheckBox(SettingsDialog::tr("Scan old protocol servers"), page);
    CBOld->setObjectName(QStringLiteral("CBOld"));
    CBOld->setToolTip(SettingsDialog::tr("All CS1.5 and old CS1.6 servers"));
    CBOld->setChecked(true);
    flags->addWidget(CBBroadcast, 0, 0);
    flags->addWidget(LBroadcastTo, 0, 1, 1, 2);
    flags->addWidget(CBLanPorts, 1, 0, 1, 2);
    flags->addWidget(CBOld, 1, 2);
    flags->setColumnStretch(1, 1);
    layout->addLayout(flags);

    connect(SBAdd, &QPushButton::clicked, this, &TSettings::SBAddClick);
    connect(SBDel, &QPushButton::clicked, this, &TSettings::SBDelClick);
    connect(SBMoveUp, &QToolButton::clicked, this, &TSettings::SBMoveUpClick);
    connect(SBMoveDown, &QToolButton::clicked, this, &TSettings::SBMoveDownClick);
    connect(SBFill, &QPushButton::clicked, this, &TSettings::SBFillClick);
    connect(LWranges, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        const int row = item->row();
        if (item->column() == CheckColumn && row < settings.ranges.size())
            settings.ranges[row].checked = item->checkState() == Qt::Checked;
    });
    return page;
}

void TSettings::showBroadcastAddresses()
{
    const QVector<BroadcastAddress> addresses = cardBroadcasts(cards.addresses());
    LBroadcastTo->setText(broadcastLine(addresses));
    LBroadcastTo->setToolTip(broadcastCardsText(addresses));
}

void TSettings::showBroadcastEnabled()
{
    LBroadcastTo->setEnabled(settings.broadcast);
    CBLanPorts->setEnabled(settings.broadcast);
}

int TSettings::selectedRange() const
{
    return selectedRow(*LWranges);
}

void TSettings::selectRange(int row)
{
    selectRowOrNone(*LWranges, row);
}

void TSettings::showRanges(int selected)
{
    {
        const QSignalBlocker block(LWranges);
        LWranges->setRowCount(int(settings.ranges.size()));
        for (int row = 0; row < settings.ranges.size(); ++row) {
            const RangeRow &range = settings.ranges[row];
            auto *check = new QTableWidgetItem;
            check->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            check->setCheckState(range.checked ? Qt::Checked : Qt::Unchecked);
            LWranges->setItem(row, CheckColumn, check);
            LWranges->setItem(row, FromColumn, addressItem(range.from));
            LWranges->setItem(row, ToColumn, addressItem(range.to));
        }
    }
    selectRange(selected);
}

void TSettings::writeRanges()
{
    writeOrTell(prompter, [this] { settings.writeRanges(ini); });
}

void TSettings::SBAddClick()
{
    const AddressInput from = inputOf(IPE1);
    const AddressInput to = inputOf(IPE2);
    const QString refusal = rangeAddError(from, to, settings.ranges);
    if (!refusal.isEmpty()) {
        prompter.error(refusal);
        return;
    }
    settings.ranges.append({true, from.text, to.text});
    showRanges(selectedRange());
    writeRanges();
}

void TSettings::SBDelClick()
{
    int selected = selectedRange();
    if (!deleteRange(settings.ranges, selected))
        return;
    showRanges(selected);
    writeRanges();
}

void TSettings::SBMoveUpClick()
{
    int selected = selectedRange();
    if (moveRangeUp(settings.ranges, selected))
        showRanges(selected);
}

void TSettings::SBMoveDownClick()
{
    int selected = selectedRange();
    if (moveRangeDown(settings.ranges, selected))
        showRanges(selected);
}

void TSettings::SBFillClick()
{
    std::array<int, 4> to{};
    if (fillBlockEnd(inputOf(IPE1), to))
        IPE2->setOctets(to);
}
