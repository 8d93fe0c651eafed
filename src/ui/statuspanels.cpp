#include "ui/statuspanels.h"

#include "scan/scancontrols.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

StatusPanels::StatusPanels(QStatusBar &bar)
{
    const int widths[3] = {105, 50, 50};
    const char *const meanings[3] = {QT_TRANSLATE_NOOP("MainWindow", "Activity"),
                                     QT_TRANSLATE_NOOP("MainWindow", "Targets sent"),
                                     QT_TRANSLATE_NOOP("MainWindow", "Message")};
    for (int i = 0; i < 3; ++i) {
        QLabel *panel = new QLabel(&bar);
        panel->setObjectName(QStringLiteral("Panels%1").arg(i));
        // The name stays the text shown; the description says what it is.
        panel->setAccessibleDescription(QCoreApplication::translate("MainWindow", meanings[i]));
        // The activity and count panels keep their width whatever they show.
        if (i < 2)
            panel->setFixedWidth(widths[i]);
        else
            panel->setMinimumWidth(widths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        bar.addWidget(panel, i == 2 ? 1 : 0);
        m_panels[size_t(i)] = panel;
    }
    m_panels[1]->setAlignment(Qt::AlignCenter);
    bar.setSizeGripEnabled(true);
}

void StatusPanels::show(const ScanControls &c)
{
    m_panels[0]->setText(c.activityPanel());
    m_panels[1]->setText(c.sentPanel());
    m_panels[2]->setText(c.messagePanel());
}
