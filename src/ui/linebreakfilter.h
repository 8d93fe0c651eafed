#pragma once

class QLineEdit;

// The text of `edit` goes to the settings file, which cannot store a line
// break: typing or pasting one is refused and leaves the text as it was.
void refuseLineBreaks(QLineEdit *edit);
