#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

// A small web forum served in-process for end-to-end tests, the way real forum software behaves:
//   /board          the board page, linking to the thread and to the posting page
//   /post           the posting page: a search form first, then the posting form
//                   (a subject input, a select, the message textarea, a submit button)
//   /submit (POST)  stores the post and redirects (303) to the thread page showing it
//   /thread         the thread with every post, oldest first
//   /files/<name>/  files of a folder given to serveFolder(), such as a rich-text editor's scripts
//   /post-thanks    the posting page of a classic form that lands on a "Thank you for posting" page, which
//                   refreshes to /thread
//   /quick?mode=    a thread whose reply box sends the text with fetch and adds the answer in place: "append";
//                   "push" also pushes the new post's permalink /quick/post-<n> (served as the thread); "refuse"
//                   gets an error shown beside the box, the text left in it; "resemble" shows the text without
//                   its apostrophes
//   /blog/thread/   a blog post whose comments are set typographically, with a canonical link; a comment lands
//                   on the held comment's address the first time (?unapproved=36&moderation-hash=...#comment-36,
//                   shown with the comment only there), on #comment-<n> after
//   /paged?page=<n> the thread three posts a page, each page naming the next with rel="next"
//   /members/thread the thread to a reader signed in at /members/login (a session cookie), else a sign-in page
//   /strict/thread  the same, and only to a request that says it is a browser's navigation (Sec-Fetch-Mode)
//   /waf/thread     the thread to a request with a User-Agent; 403 to one without
//   /checked/thread the thread to a browser that ran the script of its check page (a cookie); 503 and the script
//                   to others
// Every response closes its connection, as the reply probe asks.
class TestForum : public QObject
{
public:
    struct Post
    {
        QString author;
        QString subject;
        QString message;
    };

    explicit TestForum(QObject *parent = nullptr)
        : QObject(parent)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    bool listen(const QHostAddress &address, quint16 port) { return m_server.listen(address, port); }
    QString errorString() const { return m_server.errorString(); }
    quint16 port() const { return m_server.serverPort(); }

    QString baseUrl() const
    {
        const QString host = m_server.serverAddress().toString();
        return port() == 80 ? QStringLiteral("http://") + host : QStringLiteral("http://%1:%2").arg(host).arg(port());
    }

    // Another user answers in the thread.
    void addReply(const QString &author, const QString &message) { m_posts.append({author, QStringLiteral("Re:"), message}); }
    // A moderator takes the posts of an author away.
    void removePostsOf(const QString &author)
    {
        m_posts.removeIf([&author](const Post &post) { return post.author == author; });
    }
    // The blog's owner lets the held comments through.
    void approveComments()
    {
        for (Comment &comment : m_comments) {
            comment.held = false;
        }
    }
    // Every session ends: signed-in readers are signed out, and browsers checked are to be checked again.
    void signEveryoneOut()
    {
        m_sessions.clear();
        ++m_checks;
    }
    void resetThread() { m_posts = { m_posts.first() }; }
    // The sign-in page a guarded thread shows a reader who is not signed in.
    static QByteArray signInPage(const QByteArray &area)
    {
        return page("Sign in", "<h1>Sign in</h1>\n")
            + "<form id='signin' action='/" + area + "/login' method='post'><p>Sign in to read this thread.</p>"
              "<input name='user' id='user'><input type='password' name='password' id='password'>"
              "<input type='submit' id='go' value='Sign in'></form></body></html>\n";
    }

    const QList<Post> &posts() const { return m_posts; }
    QStringList requestedPaths;
    // The User-Agent of each request, in order; empty for a request without one.
    QStringList userAgents;

    // Serves the folder's files under /files/<name>/.
    void serveFolder(const QString &name, const QString &folder) { m_folders.insert(name, folder); }

    // Markup put into the posting page's head and after its posting form: a rich-text editor that takes
    // over the message textarea, as forum software sets one up.
    void setPostingPageEditor(const QByteArray &head, const QByteArray &afterForm)
    {
        m_editorHead = head;
        m_editorSetup = afterForm;
    }

    void clearBlog() { m_comments.clear(); }
    int quickPostCount() const { return int(m_quickPosts.size()); }

    // The body a GET of target gets; empty when there is no such page.
    QByteArray pageFor(const QByteArray &target) const
    {
        const QByteArray path = target.split('?').value(0).split('#').value(0);
        if (path == "/board" || path == "/") {
            return boardPage();
        } else if (path == "/post" || path == "/post-thanks") {
            return postingPage(path == "/post" ? "/submit" : "/submit?thanks=1");
        } else if (path == "/thread") {
            return threadPage();
        } else if (path == "/quick" || path.startsWith("/quick/post-")) {
            return quickPage();
        } else if (path == "/blog/thread/") {
            return blogPage(target);
        } else if (path == "/paged") {
            return pagedThread(QUrlQuery(QString::fromUtf8(target.split('?').value(1))).queryItemValue("page").toInt());
        }
        return {};
    }

    // Page n (from 1) of the thread, three posts a page; empty past the last.
    QByteArray pagedThread(int n) const
    {
        constexpr int perPage = 3;
        const int pages = int((m_posts.size() + perPage - 1) / perPage);
        n = qMax(1, n);
        if (n > pages) {
            return {};
        }
        QByteArray body = page("Thread", "<h1>Welcome thread</h1>\n<div class='posts'>\n");
        if (n < pages) {
            body.replace("</head>", QByteArray("<link rel='next' href='/paged?page=" + QByteArray::number(n + 1) + "'></head>"));
        }
        for (qsizetype i = (n - 1) * perPage; i < qMin<qsizetype>(m_posts.size(), n * perPage); ++i) {
            body += postMarkup(m_posts.at(i), int(i + 1));
        }
        return body + "</div></body></html>\n";
    }

    QByteArray threadPage() const
    {
        QByteArray body = page("Thread", "<h1>Welcome thread</h1>\n<div class='posts'>\n");
        int number = 0;
        for (const Post &post : m_posts) {
            body += postMarkup(post, ++number);
        }
        body += "</div><p><a href='/post'>Reply</a> <a href='/board'>Back to the board</a></p></body></html>\n";
        return body;
    }

private:
    static QByteArray escape(const QString &text) { return text.toHtmlEscaped().toUtf8(); }

    static QByteArray postMarkup(const Post &post, int number)
    {
        return "<div class='post' id='p" + QByteArray::number(number) + "'><b>" + escape(post.author) + "</b> <i>"
            + escape(post.subject) + "</i><p>" + escape(post.message).replace("\n", "<br>\n") + "</p></div>\n";
    }

    static QByteArray header(const QList<QByteArray> &lines, const QByteArray &name)
    {
        for (const QByteArray &line : lines) {
            if (line.toLower().startsWith(QByteArray(name.toLower() + ':'))) {
                return line.mid(name.size() + 1).trimmed();
            }
        }
        return {};
    }

    static bool hasCookie(const QList<QByteArray> &lines, const QByteArray &cookie)
    {
        for (QByteArray pair : header(lines, "Cookie").split(';')) {
            if (pair.trimmed() == cookie) {
                return true;
            }
        }
        return false;
    }

    // The guarded threads: the thread to the readers their guard lets through; true when the target is one.
    bool guarded(QTcpSocket *socket, const QByteArray &method, const QByteArray &path, const QList<QByteArray> &headers)
    {
        const QByteArray area = path.split('/').value(1);
        if (area == "waf" && path == "/waf/thread") {
            header(headers, "User-Agent").isEmpty() ? send(socket, "403 Forbidden", {}, "<h1>Forbidden</h1>")
                                                    : send(socket, "200 OK", {}, threadPage());
            return true;
        }
        if (area == "checked" && path == "/checked/thread") {
            const QByteArray passed = "passed=" + QByteArray::number(m_checks);
            if (hasCookie(headers, passed)) {
                send(socket, "200 OK", {}, threadPage());
            } else {
                send(socket, "503 Service Unavailable", {},
                    "<html><head><title>One moment</title><script>document.cookie = '" + passed
                        + "; path=/'; location.reload();</script></head><body><p>Checking your browser...</p></body>"
                          "</html>");
            }
            return true;
        }
        if (area != "members" && area != "strict") {
            return false;
        }
        if (method == "POST" && path == "/" + area + "/login") {
            const QByteArray session = QByteArray::number(quint64(qHash(m_sessions.size() + 1, 7)), 16);
            m_sessions.insert(session);
            // A session cookie, which the browser keeps in memory only.
            send(socket, "303 See Other",
                "Set-Cookie: sid=" + session + "; Path=/" + area + "; HttpOnly\r\nLocation: /" + area + "/thread\r\n",
                {});
        } else if (path == "/" + area + "/login") {
            send(socket, "200 OK", {}, signInPage(area));
        } else if (path == "/" + area + "/thread") {
            bool signedIn = false;
            for (const QByteArray &session : m_sessions) {
                signedIn = signedIn || hasCookie(headers, "sid=" + session);
            }
            const bool browser = area != "strict" || !header(headers, "Sec-Fetch-Mode").isEmpty();
            send(socket, "200 OK", {}, signedIn && browser ? threadPage() : signInPage(area));
        } else {
            send(socket, "404 Not Found", {}, "<p>Not found</p>");
        }
        return true;
    }

    static QByteArray page(const char *title, const char *heading)
    {
        return QByteArray("<!DOCTYPE html><html><head><meta charset='utf-8'><title>") + title
            + "</title></head><body>\n" + heading;
    }

    QByteArray boardPage() const
    {
        return page("Board", "<h1>The board</h1>\n")
            + "<p><a id='thread' href='/thread'>Welcome thread</a> (" + QByteArray::number(m_posts.size())
            + " posts)</p><p><a id='newpost' href='/post'>New post</a></p></body></html>\n";
    }

    QByteArray quickPage() const
    {
        QByteArray body = page("Quick thread", "<h1>Quick thread</h1>\n<div id='posts'>\n");
        for (const QString &message : m_quickPosts) {
            body += quickPost(message);
        }
        return body + "</div>\n<form id='quick' action='/quick/reply' method='post'>"
                      "<textarea id='message' name='message'></textarea><input type='submit' id='send' value='Post reply'>"
                      "</form>\n<script>\n"
                      "document.getElementById('quick').addEventListener('submit', function (event) {\n"
                      "  event.preventDefault();\n"
                      "  var box = document.getElementById('message'), mode = location.search.split('mode=')[1];\n"
                      "  fetch('/quick/reply?mode=' + mode, { method: 'POST', body: box.value }).then(function (answer) {\n"
                      "    answer.text().then(function (html) {\n"
                      "      var holder = document.createElement('div');\n"
                      "      holder.innerHTML = html;\n"
                      "      if (!answer.ok) { holder.className = 'error'; box.form.insertBefore(holder, box); return; }\n"
                      "      document.getElementById('posts').appendChild(holder.firstChild);\n"
                      "      box.value = '';\n"
                      "      if (mode === 'push') { history.pushState({}, '', '/quick/post-' + answer.headers.get('X-Post')); }\n"
                      "    });\n"
                      "  });\n"
                      "});\n"
                      "</script></body></html>\n";
    }

    static QByteArray quickPost(const QString &message)
    {
        return "<div class='post'><b>you</b><p>" + escape(message).replace("\n", "<br>\n") + "</p></div>\n";
    }

    // As blog software sets typed text: typographic quotes, dashes and ellipses, written as references.
    static QByteArray typeset(const QString &text)
    {
        QByteArray html = escape(text).replace("...", "&#8230;").replace("--", "&#8212;").replace("'", "&#8217;");
        for (bool opening = true; html.contains("&quot;"); opening = !opening) {
            html.replace(html.indexOf("&quot;"), 6, opening ? "&#8220;" : "&#8221;");
        }
        return html;
    }

    QByteArray blogPage(const QByteArray &target) const
    {
        QByteArray body = QByteArray(page("Ten tips", "<article><h1>Ten tips</h1><p>Start with the basics.</p></article>\n"))
                              .replace("</head>", "<link rel='canonical' href='/blog/thread/'></head>");
        for (const Comment &comment : m_comments) {
            // A held comment shows only to its author, on the address it landed on.
            if (comment.held && !target.contains(QByteArray("unapproved=" + QByteArray::number(comment.number)))) {
                continue;
            }
            body += "<div class='comment' id='comment-" + QByteArray::number(comment.number) + "'><p>"
                + typeset(comment.text).replace("\n", "<br />\n") + "</p>"
                + (comment.held ? "<em>Your comment is awaiting moderation.</em>" : "") + "</div>\n";
        }
        return body + "<form id='commentform' action='/blog/comment' method='post'>"
                      "<textarea id='message' name='comment'></textarea><input type='submit' id='send' value='Post Comment'>"
                      "</form></body></html>\n";
    }

    QByteArray postingPage(const QByteArray &action = "/submit") const
    {
        return QByteArray(page("Post a reply", "<h1>Post a reply</h1>\n")).replace("</head>", QByteArray(m_editorHead + "</head>"))
            + "<form id='search' action='/board' method='get'><input type='text' name='q'> "
              "<input type='submit' value='Search'></form>\n"
              "<FORM id='posting' action='" + action + "' method='post'>\n"
              "<p>Subject: <input type='text' name='subject' id='subject'></p>\n"
              "<p>Icon: <select name='icon' id='icon'><option value='none'>none</option>"
              "<option value='smile'>smile</option></select></p>\n"
              "<p><TEXTAREA name='message' id='message' rows='10' cols='60'></TEXTAREA></p>\n"
              "<p><input type='submit' id='send' value='Post'></p>\n"
              "</FORM>\n" + m_editorSetup + "</body></html>\n";
    }

    void sendFile(QTcpSocket *socket, const QString &path)
    {
        const QString relative = path.section(u'/', 3);
        const QString folder = m_folders.value(path.section(u'/', 2, 2));
        QFile file(folder + u'/' + relative);
        if (folder.isEmpty() || relative.split(u'/').contains(QStringLiteral("..")) || !file.open(QIODevice::ReadOnly)) {
            send(socket, "404 Not Found", {}, "<p>Not found</p>");
            return;
        }
        static const QHash<QString, QByteArray> types{{"js", "text/javascript"}, {"css", "text/css"},
            {"png", "image/png"}, {"gif", "image/gif"}, {"svg", "image/svg+xml"}, {"html", "text/html"}};
        const QByteArray type = types.value(QFileInfo(relative).suffix(), "application/octet-stream");
        send(socket, "200 OK", {}, file.readAll(), type);
    }

    void readRequest(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            return;
        }
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        qsizetype contentLength = 0;
        for (const QByteArray &line : lines) {
            if (line.toLower().startsWith("content-length:")) {
                contentLength = line.mid(15).trimmed().toLongLong();
            }
        }
        if (buffer.size() < headerEnd + 4 + contentLength) {
            return;
        }
        const QByteArray body = buffer.mid(headerEnd + 4, contentLength);
        m_buffers.remove(socket);
        respond(socket, requestLine.value(0), requestLine.value(1), body, lines);
    }

    void respond(QTcpSocket *socket, const QByteArray &method, const QByteArray &target, const QByteArray &body,
        const QList<QByteArray> &headers)
    {
        const QByteArray path = target.split('?').value(0);
        requestedPaths.append(QString::fromUtf8(target));
        userAgents.append(QString::fromUtf8(header(headers, "User-Agent")));
        if (guarded(socket, method, path, headers)) {
            return;
        }
        if (method == "POST" && path == "/submit") {
            QUrlQuery form(QString::fromUtf8(QByteArray(body).replace('+', ' ')));
            Post post{QStringLiteral("you"), form.queryItemValue("subject", QUrl::FullyDecoded),
                      form.queryItemValue("message", QUrl::FullyDecoded)};
            post.message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            m_posts.append(post);
            if (target.contains("thanks=1")) {
                send(socket, "200 OK", {},
                     "<html><head><meta http-equiv='refresh' content='1; url=/thread'></head>"
                     "<body><p>Thank you for posting. You will now be taken to your post.</p></body></html>");
            } else {
                send(socket, "303 See Other", "Location: /thread\r\n", "<p>Thank you for posting.</p>");
            }
        } else if (method == "POST" && path == "/quick/reply") {
            QString message = QString::fromUtf8(body).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (target.endsWith("mode=refuse")) {
                send(socket, "403 Forbidden", {}, "<p>You must wait 30 seconds before posting again.</p>");
                return;
            }
            if (target.endsWith("mode=resemble")) {
                message.remove(QLatin1Char('\''));
            }
            m_quickPosts.append(message);
            send(socket, "200 OK", "X-Post: " + QByteArray::number(m_quickPosts.size()) + "\r\n", quickPost(message));
        } else if (method == "POST" && path == "/blog/comment") {
            const QUrlQuery form(QString::fromUtf8(QByteArray(body).replace('+', ' ')));
            const bool held = m_comments.isEmpty();
            const int number = 36 + 2 * int(m_comments.size());
            m_comments.append({form.queryItemValue("comment", QUrl::FullyDecoded).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                               number, held});
            const QByteArray n = QByteArray::number(number);
            send(socket, "302 Found",
                 "Location: /blog/thread/" + (held ? "?unapproved=" + n + "&moderation-hash=d4cae8eb90" : QByteArray())
                     + "#comment-" + n + "\r\n",
                 {});
        } else if (path.startsWith("/files/")) {
            sendFile(socket, QUrl::fromPercentEncoding(path));
        } else if (const QByteArray found = pageFor(target); !found.isEmpty()) {
            send(socket, "200 OK", {}, found);
        } else {
            send(socket, "404 Not Found", {}, "<p>Not found</p>");
        }
    }

    static void send(QTcpSocket *socket, const char *status, const QByteArray &extraHeaders, const QByteArray &body,
                     const QByteArray &type = "text/html; charset=utf-8")
    {
        socket->write(QByteArray("HTTP/1.1 ") + status + "\r\nContent-Type: " + type + "\r\n"
                      + "Content-Length: " + QByteArray::number(body.size()) + "\r\n" + extraHeaders
                      + "Connection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    struct Comment
    {
        QString text;
        int number;
        bool held;
    };
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QStringList m_quickPosts;
    QList<Comment> m_comments;
    QSet<QByteArray> m_sessions;
    int m_checks = 1;
    QHash<QString, QString> m_folders;
    QByteArray m_editorHead;
    QByteArray m_editorSetup;
    QList<Post> m_posts{{QStringLiteral("admin"), QStringLiteral("Welcome"), QStringLiteral("Say hello here.")}};
};
