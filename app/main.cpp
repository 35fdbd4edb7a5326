#include "app/application.h"

int main(int argc, char** argv) {
    return ohmtrim::RunApplication(argc, argv);
}
