#pragma once

class QMainWindow;
class QTabBar;
class BrowserPane;
class ButtonRow;
class ForumPanel;
class MessagePanel;
class PostsPanel;
class StatusPanels;

// The main window's arrangement: the design size, the smallest size the window can
// be given, and how the areas follow the window's size.
class MainLayout
{
public:
    struct Areas
    {
        QMainWindow *window;
        ButtonRow *buttonRow;
        MessagePanel *messagePanel;
        BrowserPane *browserPane;
        QTabBar *listTabs;
        ForumPanel *forumPanel;
        PostsPanel *postsPanel;
        StatusPanels *status;
    };

    explicit MainLayout(const Areas &areas);

    // The design size and the smallest size.
    void setUpDesign();
    void updateMinimumSize();
    // Sizes and places the areas for the window's size now.
    void fitToWindow();

private:
    Areas m_areas;
};
