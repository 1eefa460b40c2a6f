postavo_test(numbertext SOURCES links/tst_numbertext.cpp)
postavo_test(frmcustom SOURCES links/tst_frmcustom.cpp GUI WEB)
