#include "web/pagescripts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace PageScripts {

namespace {

QString wrapped(const QString &body)
{
    return QLatin1String("(function(){") + body + QLatin1String("})()");
}

} // namespace

QString jsonLiteral(const QString &text)
{
    // QJsonDocument only serialises arrays and objects: encode a one-element array and take its element.
    const QByteArray json = QJsonDocument(QJsonArray { QJsonValue(text) }).toJson(QJsonDocument::Compact);
    QString literal = QString::fromUtf8(json.sliced(1, json.size() - 2));
    // Outside string literals JSON holds no such characters, so this touches only the text's own.
    literal.replace(QChar(0x2028), QLatin1String("\\u2028"));
    literal.replace(QChar(0x2029), QLatin1String("\\u2029"));
    return literal;
}

QString bodyMarkupScript()
{
    return wrapped(QStringLiteral("var body = document.body;"
                                  "if (!body) { return null; }"
                                  "return { outer: body.outerHTML, inner: body.innerHTML };"));
}

QString bodyOuterMarkupScript()
{
    return wrapped(QStringLiteral("var body = document.body;"
                                  "return body ? body.outerHTML : null;"));
}

QString bodyInnerMarkupScript()
{
    return wrapped(QStringLiteral("var body = document.body;"
                                  "return body ? body.innerHTML : null;"));
}

QString setFormFieldValueScript(qint16 formIndex, qint16 elementIndex, const QString &text)
{
    // The built-ins are taken from the prototypes: a form's fields and the document's forms are reachable
    // as named properties, so a field called "querySelectorAll" or a form called "forms" would shadow them.
    return wrapped(QLatin1String("var formIndex = ") + QString::number(formIndex) + QLatin1String(", elementIndex = ")
        + QString::number(elementIndex) + QLatin1String(", text = ") + jsonLiteral(text)
        + QLatin1String(";"
                        "try {"
                        "  var forms = Object.getOwnPropertyDescriptor(Document.prototype, 'forms')"
                        "      .get.call(document);"
                        "  if (formIndex < 0 || formIndex >= forms.length) { return false; }"
                        "  var form = forms[formIndex];"
                        "  var fields = Element.prototype.querySelectorAll.call(form, 'input,textarea');"
                        "  if (elementIndex < 0 || elementIndex >= fields.length) { return false; }"
                        "  var field = fields[elementIndex];"
                        "  if (!('value' in field)) { return false; }"
                        "  field.value = text;"
                        "} catch (e) {"
                        "  return false;"
                        "}"
                        // The text is in: a failing event no longer makes the write a failure.
                        "try {"
                        "  field.dispatchEvent(new Event('input', { bubbles: true }));"
                        "  field.dispatchEvent(new Event('change', { bubbles: true }));"
                        "} catch (e) {"
                        "}"
                        "return true;"));
}

QString fieldValueScript(const QString &selector)
{
    return wrapped(QLatin1String("var selector = ") + jsonLiteral(selector)
        + QLatin1String(";"
                        "try {"
                        "  var element = document.querySelector(selector);"
                        "  return element && ('value' in element) ? element.value : null;"
                        "} catch (e) {"
                        "  return null;"
                        "}"));
}

} // namespace PageScripts
