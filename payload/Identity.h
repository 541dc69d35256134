/* The executable's identity. Plain macros, because the resource script reads
   this file too; C++ code uses the constants in payload/Catalogue.h. */
#pragma once

#define QF_APP_TITLE "QuillfernFaces"
#define QF_EXE_NAME "QuillfernFaces.exe"
#define QF_PRODUCT_NAME "Tolvar"
#define QF_COMPANY_NAME "Quillfern Card Works"
#define QF_VERSION_TEXT "2.00.0002"
#define QF_VERSION_NUMBERS 2, 0, 0, 2

/* Resource type and identifiers of the embedded payload. */
#define QF_PAYLOAD_TYPE "CUSTOM"
#define QF_FIRST_PAYLOAD_ID 101
