#include "settings/SettingsKeys.h"

#include "base/ByteText.h"

namespace kv {
namespace {

constexpr TChoiceItems kCameraPolicy = {"无", "有", "不干涉"};
constexpr TChoiceItems kIpAlignment = {"居中", "左对齐", "右对齐"};
constexpr TChoiceItems kLeftButton = {"无功能", "菜单", "复制IP信息"};

constexpr std::string_view kCommon = "常用选项";
constexpr std::string_view kIpFormats = "ip格式设置";

constexpr TSettingsKey Choice(std::string_view key, std::string_view control, std::string_view caption,
                              const TChoiceItems& items) {
  return {key, kMainSection, kkChoice, control, caption, kCommon, "", &items};
}
constexpr TSettingsKey Text(std::string_view key, std::string_view control, std::string_view caption,
                            std::string_view absent) {
  return {key, kMainSection, kkText, control, caption, kCommon, absent, nullptr};
}
constexpr TSettingsKey Format(std::string_view key, std::string_view control, std::string_view caption,
                              std::string_view tab) {
  return {key, kMainSection, kkQuotedFormat, control, caption, tab, "", nullptr};
}
constexpr TSettingsKey Flag(std::string_view key, std::string_view control, std::string_view caption,
                            std::string_view section = kMainSection) {
  return {key, section, kkFlag, control, caption, kCommon, "", nullptr};
}

}  // namespace

const std::array<TSettingsKey, 39> kSettingsKeys = {{
    Choice("0101", "ComboBox1", "摄像头策略", kCameraPolicy),
    Choice("0305", "ComboBox2", "IP对齐方式", kIpAlignment),
    Choice("020a", "ComboBox3", "鼠标左键", kLeftButton),
    Text("0106", "Edit1", "老板键设置", "1048578"),
    Text("0202", "Edit2", "内存整理间隔", "45"),
    Format("0301", "Edit4", "对话框格式", kIpFormats),
    Format("0401", "Edit5", "对话框边沿格式", kIpFormats),
    Format("0408", "Edit6", "头像处的格式", kIpFormats),
    Format("0108", "Edit7", "复制IP时的格式", kIpFormats),
    Format("0204", "Edit8", "清理列表", kIpFormats),
    Format("0501", "Edit9", "不在线IP格式", kIpFormats),
    Format("0407", "Edit10", "自定义标题栏", kCommon),
    Flag("0100", "CheckBox1", "隐藏个性签名"),
    Flag("0102", "CheckBox2", "关闭好友侧边"),
    Flag("0103", "CheckBox3", "关闭群侧边"),
    Flag("0104", "CheckBox4", "禁止增值服务"),
    Flag("0105", "CheckBox5", "老板键开关"),
    Flag("0107", "CheckBox6", "关闭声音"),
    Flag("0109", "CheckBox7", "自定义搜索"),
    Flag("0200", "CheckBox8", "关闭IE拓展"),
    Flag("0201", "CheckBox9", "内存整理"),
    Flag("0203", "CheckBox10", "文件清理"),
    Flag("0205", "CheckBox11", "禁止创建新进程"),
    Flag("0206", "CheckBox12", "禁止QQ医生"),
    Flag("0207", "CheckBox13", "禁止自动更新"),
    Flag("0208", "CheckBox14", "禁止QQ秀"),
    Flag("0209", "CheckBox15", "禁止图标显示"),
    Flag("0300", "CheckBox16", "开启对话框IP"),
    Flag("0400", "CheckBox17", "开启对话框悬停"),
    Flag("0500", "CheckBox18", "开启主面板悬停"),
    Flag("0600", "CheckBox19", "禁止10000号"),
    Flag("0601", "CheckBox20", "禁止视频聊天"),
    Flag("0602", "CheckBox21", "禁止文件传递"),
    Flag("0603", "CheckBox22", "禁止图片"),
    Flag("0604", "CheckBox23", "禁止远程协助"),
    Flag("0605", "CheckBox24", "禁止新闻卡片"),
    Flag("0606", "CheckBox25", "禁止群消息"),
    Flag("0607", "CheckBox26", "禁止QQ空间更新"),
    Flag("Enable", "CheckBox27", "记忆QQ目录", kWorkerSection),
}};

const TSettingsKey* FindSettingsKey(std::string_view key) {
  for (const TSettingsKey& k : kSettingsKeys)
    if (SameTextAscii(k.Key, key)) return &k;
  return nullptr;
}

}  // namespace kv
