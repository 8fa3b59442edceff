#include "app/modMain.h"

int main() { return pikora::Main(); }
