#pragma once

#include "desktop/prompter.h"

#include <QStringList>

// Answers every message box at once and keeps what was shown, one line per
// box: "warning: text", "error: text", "<caption>: text", "question: text".
class RecordingPrompter : public Prompter
{
public:
    QStringList shown;
    // The answer to every question.
    bool answerYes = true;
    int beeps = 0;

    void warning(const QString &text) override { shown << QStringLiteral("warning: ") + text; }
    void error(const QString &text) override { shown << QStringLiteral("error: ") + text; }
    void information(const QString &caption, const QString &text) override { shown << caption + QStringLiteral(": ") + text; }
    bool question(const QString &text) override
    {
        shown << QStringLiteral("question: ") + text;
        return answerYes;
    }
    void beep() override { ++beeps; }
};
