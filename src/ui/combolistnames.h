#pragma once

class QWidget;

// Names the drop-down list of every combo box in the window after its box:
// the open list holds the focus and is announced by that name.
void nameComboLists(QWidget &window);
