#include "frametallyapp.h"

int main(int argc, char* argv[])
{
    // Usage, the version and a refused command line are answered before the
    // window system is opened: they need no display.
    if (const auto status = CFrametallyApp::answerWithoutWindow(argc, argv))
        return *status;
    CFrametallyApp app(argc, argv);
    return app.InitInstance();
}
