// The notice the banner cycles until the first step runs: eight lines, only the first tagged.
#pragma once

namespace quenlo::banner {

inline constexpr const char* kNotice[] = {
    "<Title1><Center>注意：  在安装服务器之前",  // a full-width colon and two spaces
    "请将计算机的IP地址设置为固定形式！",
    "安装完成后请不要更改计算机的",
    "IP地址和计算机名称！！",
    "",
    "安装服务器端，请按顺序执行，",
    "安装期间请不要进行其它操作，",
    "安装可能需要一点时间，请耐心等待！",
};

}  // namespace quenlo::banner
