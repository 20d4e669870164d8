// Whether a Windows test program runs under Wine rather than Windows, for the few answers where Wine
// differs from Windows' documentation: the test expects the documented answer on Windows and over our
// own Windows API, and Wine's (named as such) under Wine, as Wine's own tests mark theirs.
#pragma once

bool UnderWine();
