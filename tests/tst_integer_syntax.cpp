#include "base/IntegerSyntax.h"

#include <QTest>

class IntegerSyntaxTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("conforms");
        QTest::addColumn<int>("value");

        QTest::addRow("decimal") << "6000" << true << 6000;
        QTest::addRow("leading spaces") << "  6000" << true << 6000;
        QTest::addRow("plus sign") << "+7" << true << 7;
        QTest::addRow("minus one") << "-1" << true << -1;
        QTest::addRow("dollar hex") << "$1770" << true << 6000;
        QTest::addRow("x hex") << "x10" << true << 16;
        QTest::addRow("X hex lower digits") << "Xff" << true << 255;
        QTest::addRow("0x hex") << "0x1770" << true << 6000;
        QTest::addRow("0X hex") << "0XaB" << true << 171;
        QTest::addRow("eight F is -1") << "$FFFFFFFF" << true << -1;
        QTest::addRow("negated hex") << "-$10" << true << -16;
        QTest::addRow("int max") << "2147483647" << true << 2147483647;
        QTest::addRow("int min") << "-2147483648" << true << int(-2147483648LL);
        QTest::addRow("leading zeros") << "0006000" << true << 6000;
        QTest::addRow("above int max") << "2147483648" << false << 0;
        QTest::addRow("below int min") << "-2147483649" << false << 0;
        QTest::addRow("nine hex digits") << "$100000000" << false << 0;
        QTest::addRow("trailing space") << "6000 " << false << 0;
        QTest::addRow("inner space") << "60 00" << false << 0;
        QTest::addRow("trailing CR") << "6000\r" << false << 0;
        QTest::addRow("empty") << "" << false << 0;
        QTest::addRow("only spaces") << "   " << false << 0;
        QTest::addRow("only sign") << "-" << false << 0;
        QTest::addRow("prefix without digits") << "$" << false << 0;
        QTest::addRow("0x without digits") << "0x" << false << 0;
        QTest::addRow("letters") << "abc" << false << 0;
        QTest::addRow("two signs") << "+-1" << false << 0;
        QTest::addRow("tab is not a space") << "\t6000" << false << 0;
        QTest::addRow("space after sign") << "- 1" << false << 0;
        QTest::addRow("byte order mark") << QString(QChar(0xFEFF)) + "1" << false << 0;
        QTest::addRow("arabic-indic digit") << QString::fromUtf8("٦٠٠٠") << false << 0;
    }

    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, conforms);
        QFETCH(int, value);
        const auto parsed = IntegerSyntax::parse(text);
        QCOMPARE(parsed.has_value(), conforms);
        if (conforms)
            QCOMPARE(*parsed, value);
    }
};

QTEST_GUILESS_MAIN(IntegerSyntaxTest)
#include "tst_integer_syntax.moc"
