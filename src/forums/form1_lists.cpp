// The main window's forum and own-post lists and the login boxes.
#include "app/form1.h"

void Form1::loadLists()
{
}

void Form1::saveLists()
{
}

bool Form1::saveLogins()
{
    return true;
}

void Form1::cmdAdd_Click()
{
}

void Form1::cmdDel_Click()
{
}

void Form1::cmdAdd2_Click()
{
}

void Form1::cmdDel2_Click()
{
}

void Form1::lstPosts_Click()
{
}

void Form1::lstPosts_DblClick()
{
}

void Form1::lstPosts2_Click()
{
}

void Form1::lstPosts2_DblClick()
{
}

void Form1::TabStrip2_Click()
{
}

void Form1::txtUsername_Change()
{
}

void Form1::txtPassword_Change()
{
}
