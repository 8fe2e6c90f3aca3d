#include "frametallyapp.h"

int main(int argc, char* argv[])
{
    CFrametallyApp app(argc, argv);
    return app.InitInstance();
}
