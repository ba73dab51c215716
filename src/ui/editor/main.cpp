// qvprt: the label editor.
#include "printing/libusb_driver.h"
#include "ui/editor/QvprtTestApp.h"

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::printing::LibusbDriver driver;
    return app.Run(driver);
}
