// The Win32 tests run in the same apartment the installer gives its services.
#include <gtest/gtest.h>

#include "win32/Com.h"
#include "win32/SystemLibrary.h"

int main(int argc, char** argv) {
    quillfern::win32::RestrictDllSearchToSystemFolder();
    const quillfern::win32::ComApartment apartment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
