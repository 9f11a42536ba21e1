#include "app/ConverterApp.h"

int main(int argc, char** argv) {
    pelagor::app::ConverterApp app;
    return app.Run(argc, argv);
}
