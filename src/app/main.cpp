#include "app/kiosk.h"

int main(int argc, char** argv) {
    return pagelark::RunKiosk(argc, argv);
}
