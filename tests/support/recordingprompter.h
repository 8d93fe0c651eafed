#pragma once

#include "desktop/prompter.h"

#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

// Answers every message box at once and keeps what was shown, one line per
// box: "warning: text", "error: text", "<caption>: text", "question: text".
// With holdQuestions set, questions stay open until the test answers them.
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
    bool holdQuestions = false;
    int beeps = 0;

    void warning(const QString &text, std::function<void()> closed) override
    {
        note(QStringLiteral("warning: ") + text);
        if (closed)
            closed();
    }
    void error(const QString &text) override { note(QStringLiteral("error: ") + text); }
    void information(const QString &caption, const QString &text) override { note(caption + QStringLiteral(": ") + text); }
    void question(const QString &text, std::function<void(bool yes)> answered) override
    {
        note(QStringLiteral("question: ") + text);
        if (holdQuestions)
            open.push_back(std::move(answered));
        else
            answered(answerYes);
    }
    int openQuestions() const { return int(open.size()); }
    // Answers the question that was opened first.
    void answer(bool yes)
    {
        auto answered = std::move(open.front());
        open.erase(open.begin());
        answered(yes);
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
    std::vector<std::function<void(bool yes)>> open;
};
