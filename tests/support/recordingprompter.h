#pragma once

#include "desktop/prompter.h"

#include <QStringList>

// Answers every message box at once and keeps what was shown, one line per
// box: "warning: text", "error: text", "<caption>: text", "question: text".
// Given a journal, it writes there too, with "beep" for each beep, so that a
// test sees the boxes in order with other events.
class RecordingPrompter : public Prompter
{
public:
    RecordingPrompter() = default;
    explicit RecordingPrompter(QStringList &journal) : log(&journal) { }

    QStringList shown;
    // The answer to every question.
    bool answerYes = true;
    int beeps = 0;

    void warning(const QString &text) override { note(QStringLiteral("warning: ") + text); }
    void error(const QString &text) override { note(QStringLiteral("error: ") + text); }
    void information(const QString &caption, const QString &text) override { note(caption + QStringLiteral(": ") + text); }
    bool question(const QString &text) override
    {
        note(QStringLiteral("question: ") + text);
        return answerYes;
    }
    void beep() override
    {
        ++beeps;
        if (log)
            *log << QStringLiteral("beep");
    }

private:
    void note(const QString &line)
    {
        shown << line;
        if (log)
            *log << line;
    }

    QStringList *log = nullptr;
};
