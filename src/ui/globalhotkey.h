#pragma once

#include <QObject>
#include <QString>

#include <memory>

// A system-wide key combination that reaches this program whichever window
// has the focus. It is registered on construction and released on
// destruction; when the desktop refuses it, registered() is false and
// failureText() says why, and the program goes on without it.
class GlobalHotkey : public QObject
{
    Q_OBJECT
public:
    GlobalHotkey(int id, Qt::KeyboardModifiers modifiers, Qt::Key key, QObject *parent = nullptr);
    ~GlobalHotkey() override;

    int id() const { return hotkeyId; }
    bool registered() const { return grab != nullptr; }
    QString failureText() const { return failure; }

    // "Shift+Alt+S": the combination as the program's texts name it.
    static QString keyText(Qt::KeyboardModifiers modifiers, Qt::Key key);

signals:
    void activated(int id);

private:
    class NativeGrab;

    int hotkeyId;
    std::unique_ptr<NativeGrab> grab;
    QString failure;
};
