#include "model/Enums.h"

#include <iterator>

namespace {

template <typename E, size_t N>
QString Pick(E v, const char16_t* const (&captions)[N])
{
    const auto i = static_cast<int32_t>(v);
    return i >= 0 && static_cast<size_t>(i) < N ? QString::fromUtf16(captions[i]) : QString();
}

} // namespace

QString Caption(ValueKind v)
{
    static const char16_t* const c[] = {u"瞬時値", u"最大値", u"最小値", u"文字列"};
    return Pick(v, c);
}

QString Caption(DisplayKind v)
{
    static const char16_t* const c[] = {u"最新表示", u"履歴表示"};
    return Pick(v, c);
}

QString Caption(LogicalKind v)
{
    static const char16_t* const c[] = {u"数値", u"日時", u"入力データ数"};
    return Pick(v, c);
}

QString Caption(OriginKind v)
{
    static const char16_t* const c[] = {u"固定", u"移動"};
    return Pick(v, c);
}

QString Caption(LineStyle v)
{
    static const char16_t* const c[] = {u"実線", u"破線", u"点線", u"1点鎖線", u"2点鎖線"};
    return Pick(v, c);
}

QString Caption(TextAnchor v)
{
    static const char16_t* const c[] = {u"左上", u"中央上", u"右上", u"左中央", u"中央",
                                        u"右中央", u"左下", u"中央下", u"右下"};
    return Pick(v, c);
}

QString Caption(PlotShape v)
{
    static const char16_t* const c[] = {u"〇", u"□", u"◇", u"△", u"▽", u"×", u"＋"};
    return Pick(v, c);
}

QString Caption(TickSide v)
{
    static const char16_t* const c[] = {u"両側", u"左上側", u"右下側"};
    return Pick(v, c);
}

QString Caption(BarAnchor v)
{
    static const char16_t* const c[] = {u"中央", u"開始点", u"終了点"};
    return Pick(v, c);
}
