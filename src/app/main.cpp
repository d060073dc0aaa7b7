// kindrel-viewer: the self-viewing GEDCOM viewer.
#include "app/program_entry.h"

int main(int argc, char** argv) {
    return kindrel::RunViewer(argc, argv);
}
