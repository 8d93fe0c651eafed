#include "support/windowrig.h"

namespace {

struct SessionHolder
{
    explicit SessionHolder(const WindowServices &s)
        : held(std::make_unique<ScanSession>(
            ScanSession::Services{s.settings, s.prompter, s.shell, s.localAddress, s.networkCards, 0}))
    {
    }
    std::unique_ptr<ScanSession> held;
};

// Base classes are built in order and destroyed in reverse: the window goes
// before the session it shows.
class RiggedWindow : private SessionHolder, public TForm1
{
public:
    explicit RiggedWindow(const WindowServices &s) : SessionHolder(s), TForm1(*held, s.shell, false) { }
};

} // namespace

std::unique_ptr<TForm1> riggedMainWindow(const WindowServices &services)
{
    return std::make_unique<RiggedWindow>(services);
}
