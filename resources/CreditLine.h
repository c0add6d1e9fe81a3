/* The one-line credit text: version data, splash window, by-line and report footer.
   Plain C preprocessor so that the Windows resource script can use it too. */
#ifndef TESSIVAR_CREDIT_LINE_H
#define TESSIVAR_CREDIT_LINE_H
#define TESSIVAR_CREDIT_LINE "Tessivar 3.0 - Copyright (c) 2026 the Tessivar authors"
#define TESSIVAR_PUBLISHER "The Tessivar authors"
#endif
